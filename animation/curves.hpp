#pragma once

#include <allegro5/allegro.h>

namespace tank {

// Easing curves: each maps a raw progress 0..1 to an eased progress, with
// 0 -> 0 and 1 -> 1. Only curve_overshoot leaves 0..1 (up to 1.2, down to 0.92).
enum curve_kind : int {
  curve_linear = 0,
  curve_quad_out = 1,           // fast start, slow finish
  curve_quad_in = 2,            // slow start, fast finish
  curve_quad_out_in = 3,        // fast-slow-fast
  curve_quad_in_out = 4,        // slow-fast-slow
  curve_quad_out_twice = 5,     // strong fast start
  curve_cubic_in = 6,           // strong slow start
  curve_quad_out_in_twice = 7,  // sharpened fast-slow-fast
  curve_quad_in_out_twice = 8,  // sharpened slow-fast-slow
  curve_overshoot = 9,          // reaches the end at 30 %, swings to 1.2, dips to 0.92, settles
};

// The primitives work on any span a..b with a != b, reversed spans included:
// t = (x - a) / (b - a) is the position within the span.
float normalize(const float& a, const float& b, const float& x);
float quad_in(const float& a, const float& b, const float& x);
float quad_out(const float& a, const float& b, const float& x);
float quad_in_out(const float& a, const float& b, const float& x);
float quad_out_in(const float& a, const float& b, const float& x);
float overshoot(const float& a, const float& b, const float& x);

// The eased progress of `p` along curve `kind`; a number outside the list
// above is linear.
float apply_curve(float p, curve_kind kind);

// Interpolation and clamping: lerp and clamp of math/numeric.hpp, beside
// std::lerp and std::clamp. The float animators use std::lerp, which lands
// exactly on the end value whenever the eased progress is 1.

// The rule for values that cannot be blended: `end` once x reaches 1,
// `start` before that (and for a NaN x).
bool step_value(const bool& start, const bool& end, float x);
ALLEGRO_BITMAP* step_value(ALLEGRO_BITMAP* const& start, ALLEGRO_BITMAP* const& end, float x);

}  // namespace tank
