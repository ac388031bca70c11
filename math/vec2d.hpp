#pragma once

#include <vector>

namespace tank {

// A point or direction in screen pixels: x grows to the right, y downwards.
struct vec2d {
  float x = 0.0f;  // rightwards
  float y = 0.0f;  // downwards

  // (0, 0), or (x_, y_).
  constexpr vec2d() = default;
  constexpr vec2d(float x_, float y_) : x(x_), y(y_) {}

  // Component-wise, in place.
  constexpr vec2d& operator+=(vec2d v) {
    x += v.x;
    y += v.y;
    return *this;
  }
  // Component-wise, in place.
  constexpr vec2d& operator-=(vec2d v) {
    x -= v.x;
    y -= v.y;
    return *this;
  }
  // Both components scaled, in place.
  constexpr vec2d& operator*=(float s) {
    x *= s;
    y *= s;
    return *this;
  }
  // Both components equal.
  constexpr bool operator==(const vec2d&) const = default;
};

// Component-wise arithmetic and the dot product.
constexpr vec2d operator+(vec2d a, vec2d b) { return a += b; }
constexpr vec2d operator-(vec2d a, vec2d b) { return a -= b; }
constexpr vec2d operator-(vec2d v) { return {-v.x, -v.y}; }
constexpr vec2d operator*(vec2d v, float s) { return v *= s; }
constexpr vec2d operator*(float s, vec2d v) { return v *= s; }
constexpr vec2d operator/(vec2d v, float s) { return {v.x / s, v.y / s}; }
constexpr float dot(vec2d a, vec2d b) { return a.x * b.x + a.y * b.y; }

// Each computes in double and rounds to float once.
float length_squared(const vec2d& v);
float length(const vec2d& v);
// No guard for the zero vector: its components come out non-finite.
vec2d normalized(const vec2d& v);
// a - b and v += (dx, dy), under their traditional names.
vec2d subtract(vec2d a, vec2d b);
void offset_by(vec2d& v, float dx, float dy);
// Angles are radians, positive clockwise on screen (y grows downwards), as an
// Object's rotation is: 0 points along +x, pi/2 straight down.
vec2d from_polar(float angle, float magnitude);
// `point` turned about `pivot` by `angle`.
vec2d rotated(vec2d point, vec2d pivot, float angle);
// The traditional form, kept for code written against it: turns `point` in
// place by *degrees*, positive *counter-clockwise* on screen, so a caller
// holding a drawing angle in radians passes -rad_to_deg(angle).
void rotate_point(vec2d& point, const vec2d& pivot, float degrees);
// Unit normal of the edge from points[i] to points[i + 1].
vec2d edge_normal(const std::vector<vec2d>& points, int i);
float distance(float x1, float y1, float x2, float y2);

}  // namespace tank
