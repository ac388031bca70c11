#pragma once

#include <allegro5/allegro.h>

#include <tank/math/vec2d.hpp>

namespace tank {

// A plus of arm 5 pixels centred on the point, drawn with two 1-pixel lines:
// vertical first, then horizontal. The debug view marks each object's anchor
// with one; a game may mark its own points the same way.
void draw_cross(float x, float y, ALLEGRO_COLOR color);
void draw_cross(const vec2d& center, ALLEGRO_COLOR color);

}  // namespace tank
