#pragma once

#include <array>

#include <tank/math/vec2d.hpp>

namespace tank {

// Collision of shapes given as numbers. Tests of objects, built on these, sit
// beside Object (objects/object_collision.hpp).

// An axis-aligned rectangle by centre and half extents.
struct box {
  vec2d center;     // the middle
  vec2d half_size;  // half the width and half the height
};

// A rectangle turned about some point: its corners in order around it.
using quad = std::array<vec2d, 4>;

// Closed boxes: touching counts as overlapping.
bool boxes_overlap(const box& a, const box& b);
// The vector projection of the point onto the axis (any non-zero length).
vec2d project_onto(vec2d point, vec2d axis);
float dot(float ux, float uy, float vx, float vy);
// Separating-axis test of two rectangles given by their corners (a rectangle's
// opposite edges are parallel, so two edges of each give every axis that can
// separate them); touching counts. A rectangle with a zero-length edge has no
// area and overlaps nothing.
bool quads_overlap(const quad& a, const quad& b);

// Plain shape tests. Rectangles are (left, top, right, bottom), y downwards.
// Whether the path (x1, y1) -> (x2, y2) -> (x3, y3) turns clockwise on screen.
bool cross_positive(float x1, float y1, float x2, float y2, float x3, float y3);
// Open rectangles: touching does not count.
bool rects_overlap(float ax1, float ay1, float ax2, float ay2, float bx1, float by1, float bx2,
                   float by2);
// Edges included.
bool point_in_rect(float px, float py, float x1, float y1, float x2, float y2);
bool point_in_circle(float px, float py, float cx, float cy, float r);
// The segment passes strictly closer than r to the centre; a segment of zero
// length is its one point.
bool circle_hits_segment(float cx, float cy, float r, float x1, float y1, float x2, float y2);
bool circles_overlap(float x1, float y1, float r1, float x2, float y2, float r2);

}  // namespace tank
