#include "math/collision.hpp"

#include <array>

#include "math/numeric.hpp"
#include "objects/object.hpp"

box box_of(const Object& object) {
  return {vec2d(object.center_x(), object.center_y()),
          vec2d(object.scaled_width() / 2.0f, object.scaled_height() / 2.0f)};
}

bool boxes_overlap(const box& a, const box& b) {
  const vec2d d = subtract(a.center, b.center);
  return abs_f(d.x) <= b.half_size.x + a.half_size.x && abs_f(d.y) <= b.half_size.y + a.half_size.y;
}

vec2d project_onto(vec2d point, vec2d axis) {
  const float axis_length_squared = pow_int(axis.x, 2) + pow_int(axis.y, 2);
  // The zero axis spans only the origin, so that is where every point lands.
  if (axis_length_squared == 0.0f) return {};
  const double numerator = static_cast<double>(point.x) * axis.x + static_cast<double>(point.y) * axis.y;
  const float t = static_cast<float>(numerator / axis_length_squared);
  return {t * axis.x, t * axis.y};
}

float dot(float ux, float uy, float vx, float vy) { return ux * vx + uy * vy; }

namespace {
struct interval {
  float min = 0.0f;
  float max = 0.0f;
};

// The span the four corners cover along the axis, in units of its squared length.
interval shadow_on(const std::array<vec2d, 4>& corners, vec2d axis) {
  interval result;
  for (std::size_t j = 0; j < corners.size(); ++j) {
    const vec2d p = project_onto(corners[j], axis);
    const float s = dot(p.x, p.y, axis.x, axis.y);
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

bool rects_overlap_rotated(const Object& a, const Object& b) {
  const std::array<vec2d, 4> corners_a = a.corner_points();
  const std::array<vec2d, 4> corners_b = b.corner_points();
  // A rectangle's opposite edges are parallel, so two edges of each give
  // every direction that can separate them.
  const std::array<vec2d, 4> axes = {
      subtract(corners_a[1], corners_a[0]), subtract(corners_a[1], corners_a[2]),
      subtract(corners_b[0], corners_b[3]), subtract(corners_b[0], corners_b[1])};
  for (const vec2d& axis : axes) {
    // A degenerate rectangle has no area to hit.
    if (pow_int(axis.x, 2) + pow_int(axis.y, 2) == 0.0f) return false;
    const interval on_a = shadow_on(corners_a, axis);
    const interval on_b = shadow_on(corners_b, axis);
    if (on_a.max < on_b.min || on_a.min > on_b.max) return false;
  }
  return true;
}

bool collides(const Object& a, const Object& b) {
  if (a.rotation == 0.0f && b.rotation == 0.0f) return boxes_overlap(box_of(a), box_of(b));
  return rects_overlap_rotated(a, b);
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
  const vec2d u(x1 - x2, y1 - y2);
  const vec2d v(cx - x2, cy - y2);
  const float u_length_squared = dot(u.x, u.y, u.x, u.y);
  vec2d closest(x2, y2);
  // A zero-length segment is its second end; dividing by it would compare nothing.
  if (u_length_squared != 0.0f) {
    const float t = dot(v.x, v.y, u.x, u.y) / u_length_squared;
    if (t > 1.0f) {
      closest = vec2d(x1, y1);
    } else if (t >= 0.0f) {
      closest = vec2d(x2 + t * u.x, y2 + t * u.y);
    }
  }
  return r > distance(cx, cy, closest.x, closest.y);
}

bool circles_overlap(float x1, float y1, float r1, float x2, float y2, float r2) {
  return distance(x1, y1, x2, y2) <= r1 + r2;
}
