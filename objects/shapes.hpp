#pragma once

#include <allegro5/allegro.h>

namespace tank {

// Where a shape's numbers are measured: in the world, where the camera shows
// it (as objects are drawn), or in frame pixels, where the camera plays no
// part (as text is drawn): a HUD, a dimmed screen, a minimap.
enum class coordinates { world, screen };

// Shapes in one colour (straight alpha, as tints are: al_map_rgba_f(0, 0, 0,
// 0.5f) dims what is below by half), drawn onto the current target under the
// blend mode in force, between objects and texts in the order they are
// called. They leave the blend mode, its tint and the target as they were,
// and may be called while sprites are being batched.
//
// A rectangle is its top-left corner and its size; one with no width or
// height, or a negative one, draws nothing (a bar at zero is empty), as does
// a circle without a radius or a line or outline without a thickness. An
// outline lies inside its shape, `thickness` pixels wide, so that outline and
// fill of one shape cover the same pixels, and a rectangle on whole pixels
// with a whole thickness has crisp edges; an outline thicker than half the
// shape fills it. A line is centred on the segment between its ends.
void fill_rectangle(float x, float y, float w, float h, ALLEGRO_COLOR color, coordinates space);
void outline_rectangle(float x, float y, float w, float h, ALLEGRO_COLOR color, float thickness, coordinates space);
void fill_circle(float cx, float cy, float radius, ALLEGRO_COLOR color, coordinates space);
void outline_circle(float cx, float cy, float radius, ALLEGRO_COLOR color, float thickness, coordinates space);
void draw_line(float x1, float y1, float x2, float y2, ALLEGRO_COLOR color, float thickness, coordinates space);

}  // namespace tank
