#pragma once

#include <vector>

// A point or direction in screen pixels: x grows to the right, y downwards.
struct vec2d {
  float x = 0.0f;
  float y = 0.0f;

  vec2d() = default;
  vec2d(float x_, float y_) : x(x_), y(y_) {}
};

float length_squared(const vec2d& v);
float length(const vec2d& v);
// No guard for the zero vector: its components come out non-finite.
vec2d normalized(const vec2d& v);
vec2d subtract(vec2d a, vec2d b);
void offset_by(vec2d& v, float dx, float dy);
vec2d from_polar(float angle, float magnitude);
// Turns `point` about `pivot`; positive degrees turn counter-clockwise on
// screen, so callers holding a drawing angle pass its negative.
void rotate_point(vec2d& point, const vec2d& pivot, float degrees);
// Unit normal of the edge from points[i] to points[i + 1].
vec2d edge_normal(const std::vector<vec2d>& points, int i);
float distance(float x1, float y1, float x2, float y2);
