#include <tank/math/vec2d.hpp>

#include <cmath>

#include <tank/math/numeric.hpp>

namespace tank {

float length_squared(const vec2d& v) {
  return static_cast<float>(static_cast<double>(v.x) * v.x + static_cast<double>(v.y) * v.y);
}

float length(const vec2d& v) { return sqrt_f(length_squared(v)); }

vec2d normalized(const vec2d& v) { return v / length(v); }

vec2d subtract(vec2d a, vec2d b) { return a - b; }

void offset_by(vec2d& v, float dx, float dy) { v += vec2d(dx, dy); }

vec2d from_polar(float angle, float magnitude) {
  return {cos_f(angle) * magnitude, sin_f(angle) * magnitude};
}

vec2d rotated(vec2d point, vec2d pivot, float angle) {
  const double c = std::cos(static_cast<double>(angle));
  const double s = std::sin(static_cast<double>(angle));
  const double dx = static_cast<double>(point.x) - pivot.x;
  const double dy = static_cast<double>(point.y) - pivot.y;
  return {static_cast<float>(pivot.x + c * dx - s * dy), static_cast<float>(pivot.y + s * dx + c * dy)};
}

void rotate_point(vec2d& point, const vec2d& pivot, float degrees) {
  const float a = static_cast<float>(-static_cast<double>(degrees) * 3.141592653589793 / 180.0);
  const float c = cos_f(a);
  const float s = sin_f(a);
  point -= pivot;
  const float rx = static_cast<float>(static_cast<double>(c) * point.x - static_cast<double>(s) * point.y);
  const float ry = static_cast<float>(static_cast<double>(s) * point.x + static_cast<double>(c) * point.y);
  point = vec2d(rx, ry) + pivot;
}

vec2d edge_normal(const std::vector<vec2d>& points, int i) {
  const vec2d d = points[i] - points[i + 1];
  return normalized(vec2d(-d.y, d.x));
}

float distance(float x1, float y1, float x2, float y2) {
  const double dx = static_cast<double>(x1) - x2;
  const double dy = static_cast<double>(y1) - y2;
  return sqrt_f(static_cast<float>(dx * dx + dy * dy));
}

}  // namespace tank
