#include <tank/objects/draw_cross.hpp>

#include <allegro5/allegro_primitives.h>

namespace tank {

void draw_cross(float x, float y, ALLEGRO_COLOR color) {
  al_draw_line(x, y - 5, x, y + 5, color, 1);
  al_draw_line(x - 5, y, x + 5, y, color, 1);
}

void draw_cross(const vec2d& center, ALLEGRO_COLOR color) { draw_cross(center.x, center.y, color); }

}  // namespace tank
