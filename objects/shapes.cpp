#include <tank/objects/shapes.hpp>

#include <allegro5/allegro_primitives.h>

#include <tank/core/drawing_hold.hpp>
#include <tank/math/vec2d.hpp>
#include <tank/objects/camera.hpp>

namespace tank {

namespace {
// Where the point lands in the frame.
vec2d in_frame(float x, float y, coordinates space) {
  return space == coordinates::world ? world_to_screen({x, y}) : vec2d(x, y);
}

// Written so that a size or thickness that is not a number fails too.
bool positive(float v) { return v > 0.0f; }
}  // namespace

void fill_rectangle(float x, float y, float w, float h, ALLEGRO_COLOR color, coordinates space) {
  if (!positive(w) || !positive(h)) return;
  const vec2d at = in_frame(x, y, space);
  // Only sprites and text may be drawn while drawing is held.
  const drawing_hold_released between_batches;
  al_draw_filled_rectangle(at.x, at.y, at.x + w, at.y + h, color);
}

void outline_rectangle(float x, float y, float w, float h, ALLEGRO_COLOR color, float thickness,
                       coordinates space) {
  if (!positive(w) || !positive(h) || !positive(thickness)) return;
  if (2.0f * thickness >= w || 2.0f * thickness >= h) return fill_rectangle(x, y, w, h, color, space);
  const vec2d at = in_frame(x, y, space);
  // The library centres the band on the edges it is given: move them inwards
  // by half the band. One strip of triangles, so a see-through colour is not
  // doubled in the corners.
  const float half = thickness / 2.0f;
  const drawing_hold_released between_batches;
  al_draw_rectangle(at.x + half, at.y + half, at.x + w - half, at.y + h - half, color, thickness);
}

void fill_circle(float cx, float cy, float radius, ALLEGRO_COLOR color, coordinates space) {
  if (!positive(radius)) return;
  const vec2d at = in_frame(cx, cy, space);
  const drawing_hold_released between_batches;
  al_draw_filled_circle(at.x, at.y, radius, color);
}

void outline_circle(float cx, float cy, float radius, ALLEGRO_COLOR color, float thickness, coordinates space) {
  if (!positive(radius) || !positive(thickness)) return;
  if (thickness >= radius) return fill_circle(cx, cy, radius, color, space);
  const vec2d at = in_frame(cx, cy, space);
  const drawing_hold_released between_batches;
  al_draw_circle(at.x, at.y, radius - thickness / 2.0f, color, thickness);
}

void draw_line(float x1, float y1, float x2, float y2, ALLEGRO_COLOR color, float thickness, coordinates space) {
  if (!positive(thickness)) return;
  const vec2d from = in_frame(x1, y1, space);
  const vec2d to = in_frame(x2, y2, space);
  const drawing_hold_released between_batches;
  al_draw_line(from.x, from.y, to.x, to.y, color, thickness);
}

}  // namespace tank
