#include <tank/math/numeric.hpp>

#include <cmath>

namespace tank {

float rad_to_deg(float radians) { return static_cast<float>(radians * 57.29577951308232); }
float sqrt_f(float v) { return static_cast<float>(std::sqrt(static_cast<double>(v))); }
float sin_f(float v) { return static_cast<float>(std::sin(static_cast<double>(v))); }
float cos_f(float v) { return static_cast<float>(std::cos(static_cast<double>(v))); }
float abs_f(float v) { return static_cast<float>(std::fabs(static_cast<double>(v))); }

float lerp(const float& a, const float& b, float t) {
  return static_cast<float>(a + (static_cast<double>(b) - a) * t);
}

double clamp(double v, double lo, double hi) {
  if (lo > v) v = lo;
  if (hi < v) v = hi;
  return v;
}

float pow_int(float base, int exponent) {
  double result = 1.0;
  const bool invert = exponent < 0;
  for (int i = invert ? -exponent : exponent; i > 0; --i) result *= base;
  return static_cast<float>(invert ? 1.0 / result : result);
}

}  // namespace tank
