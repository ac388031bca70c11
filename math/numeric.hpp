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

// a + (b - a) * t, rounded to float once. t is not limited: beyond 1 the
// result passes beyond b (an overshooting curve), below 0 before a.
// std::lerp is there too; it also guarantees b exactly at t = 1.
float lerp(const float& a, const float& b, float t);

// v limited to lo..hi, the lower bound applied first: with crossed bounds
// (lo > hi) the result is hi, where std::clamp leaves it undefined. A NaN v
// stays NaN.
double clamp(double v, double lo, double hi);

}  // namespace tank
