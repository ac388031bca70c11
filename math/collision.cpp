#include <tank/math/collision.hpp>

#include <tank/math/numeric.hpp>

namespace tank {

bool boxes_overlap(const box& a, const box& b) {
  const vec2d d = a.center - b.center;
  return abs_f(d.x) <= b.half_size.x + a.half_size.x && abs_f(d.y) <= b.half_size.y + a.half_size.y;
}

vec2d project_onto(vec2d point, vec2d axis) {
  const float axis_length_squared = length_squared(axis);
  // The zero axis spans only the origin, so that is where every point lands.
  if (axis_length_squared == 0.0f) return {};
  const double numerator = static_cast<double>(point.x) * axis.x + static_cast<double>(point.y) * axis.y;
  return axis * static_cast<float>(numerator / axis_length_squared);
}

float dot(float ux, float uy, float vx, float vy) { return dot(vec2d(ux, uy), vec2d(vx, vy)); }

namespace {
struct interval {
  float min = 0.0f;
  float max = 0.0f;
};

// The span the four corners cover along the axis, in units of its squared length.
interval shadow_on(const quad& corners, vec2d axis) {
  interval result;
  for (std::size_t j = 0; j < corners.size(); ++j) {
    const float s = dot(project_onto(corners[j], axis), axis);
    if (j == 0) {
      result = {s, s};
    } else if (s < result.min) {
      result.min = s;
    } else if (s > result.max) {
      result.max = s;
    }
  }
  return result;
}
}  // namespace

bool quads_overlap(const quad& a, const quad& b) {
  const std::array<vec2d, 4> axes = {a[1] - a[0], a[1] - a[2], b[0] - b[3], b[0] - b[1]};
  for (const vec2d& axis : axes) {
    if (length_squared(axis) == 0.0f) return false;
    const interval on_a = shadow_on(a, axis);
    const interval on_b = shadow_on(b, axis);
    if (on_a.max < on_b.min || on_a.min > on_b.max) return false;
  }
  return true;
}

bool cross_positive(float x1, float y1, float x2, float y2, float x3, float y3) {
  return (y3 - y2) * (x2 - x1) > (y2 - y1) * (x3 - x2);
}

bool rects_overlap(float ax1, float ay1, float ax2, float ay2, float bx1, float by1, float bx2,
                   float by2) {
  return ax2 > bx1 && ax1 < bx2 && ay2 > by1 && ay1 < by2;
}

bool point_in_rect(float px, float py, float x1, float y1, float x2, float y2) {
  return x1 <= px && px <= x2 && y1 <= py && py <= y2;
}

bool point_in_circle(float px, float py, float cx, float cy, float r) {
  return distance(px, py, cx, cy) <= r;
}

bool circle_hits_segment(float cx, float cy, float r, float x1, float y1, float x2, float y2) {
  const vec2d end(x2, y2);
  const vec2d u = vec2d(x1, y1) - end;
  const vec2d v = vec2d(cx, cy) - end;
  const float u_length_squared = dot(u, u);
  vec2d closest = end;
  // A zero-length segment is its second end; dividing by it would compare nothing.
  if (u_length_squared != 0.0f) {
    const float t = dot(v, u) / u_length_squared;
    if (t > 1.0f) {
      closest = vec2d(x1, y1);
    } else if (t >= 0.0f) {
      closest = end + t * u;
    }
  }
  return r > distance(cx, cy, closest.x, closest.y);
}

bool circles_overlap(float x1, float y1, float r1, float x2, float y2, float r2) {
  return distance(x1, y1, x2, y2) <= r1 + r2;
}

}  // namespace tank
