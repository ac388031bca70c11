#pragma once

namespace tank {

// Single-precision wrappers of the C runtime's mathematics: each computes in
// double and rounds once.
float rad_to_deg(float radians);
float sqrt_f(float v);
float sin_f(float v);
float cos_f(float v);
float abs_f(float v);
float pow_int(float base, int exponent);

}  // namespace tank
