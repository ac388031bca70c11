#include <allegro5/allegro.h>
#include <allegro5/allegro_color.h>
#include <allegro5/allegro_primitives.h>

#include <cmath>
#include <vector>

#include <tank/core/settings.hpp>
#include <tank/math/blend_mode.hpp>
#include <tank/math/color.hpp>
#include <tank/math/vec2d.hpp>
#include <tank/objects/draw_cross.hpp>
#include <tank/objects/object.hpp>
#include <tank/resources/graphics_bin.hpp>

namespace tank {

namespace {
// Looked up once: every draw needs them.
const ALLEGRO_COLOR black = al_color_name("black");
const ALLEGRO_COLOR white = al_color_name("white");
}  // namespace

void Object::draw() {
  if (!is_visible()) return;
  color.a = opacity;

  int flags = 0;
  if (flip_h) flags |= ALLEGRO_FLIP_HORIZONTAL;
  if (flip_v) flags |= ALLEGRO_FLIP_VERTICAL;

  // Additive blending ignores alpha: an additive object fades by darkening
  // its tint towards black instead.
  if (blend_mode == tank::blend_mode::additive && opacity != 1.0f) {
    set_blend_mode(blend_mode, mix_colors(black, color, opacity));
  } else {
    set_blend_mode(blend_mode, color);
  }

  const float dx = x + camera_offset_x(*this);
  const float dy = y + camera_offset_y(*this);
  if (bitmap) {
    // The pivot is truncated to a whole image pixel; the edge queries are not,
    // so they may differ from the drawing by under one scaled pixel.
    const float pivot_x = std::trunc(static_cast<float>(w) * align_x);
    const float pivot_y = std::trunc(static_cast<float>(h) * align_y);
    // The whole image, or the frame of a sprite sheet shown now.
    const image_rect shown = frame_rect();
    al_draw_tinted_scaled_rotated_bitmap_region(bitmap, shown.x, shown.y, shown.w, shown.h, current_tint(), pivot_x,
                                                pivot_y, dx, dy, scale_x, scale_y, rotation, flags);
  } else {
    draw_missing_image(dx, dy);
  }
  set_blend_mode(tank::blend_mode::normal, white);

  if (debug_view) draw_debug();
}

void Object::draw_debug() const {
  if (!is_on_screen()) return;
  const float ox = camera_offset_x(*this);
  const float oy = camera_offset_y(*this);
  const ALLEGRO_COLOR red = al_color_name("red");
  draw_cross(x + ox, y + oy, red);

  std::vector<vec2d> p = corners();
  for (vec2d& point : p) offset_by(point, ox, oy);
  const auto line = [&p](int from, int to, ALLEGRO_COLOR c) {
    al_draw_line(p[from].x, p[from].y, p[to].x, p[to].y, c, 1);
  };
  // The yellow diagonal tells the two apart and so shows the rotation.
  line(0, 2, red);
  line(1, 3, al_color_name("yellow"));
  line(0, 1, red);
  line(1, 2, red);
  line(2, 3, red);
  line(3, 0, red);

  // Ticks out of the top and right edges show which way the object faces.
  const ALLEGRO_COLOR orange = al_map_rgb(241, 189, 50);
  vec2d from;
  vec2d to;
  for (int i = 0; i < 2; ++i) {
    if (direction_tick(p, i, from, to)) al_draw_line(from.x, from.y, to.x, to.y, orange, 1);
  }
}

bool direction_tick(const std::vector<vec2d>& outline, int i, vec2d& from, vec2d& to) {
  const vec2d edge = subtract(outline[i + 1], outline[i]);
  // Without length there is no direction: the normal would not be finite.
  if (length(edge) == 0.0f) return false;
  const vec2d n = edge_normal(outline, i);
  const vec2d middle(outline[i].x + edge.x / 2.0f, outline[i].y + edge.y / 2.0f);
  from = vec2d(middle.x + n.x, middle.y + n.y);
  to = vec2d(middle.x + 15.0f * n.x, middle.y + 15.0f * n.y);
  return true;
}

}  // namespace tank
