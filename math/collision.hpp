#pragma once

#include "math/vec2d.hpp"

struct Object;

// An axis-aligned rectangle by centre and half extents.
struct box {
  vec2d center;
  vec2d half_size;
};

// The object's unrotated rectangle.
box box_of(const Object& object);
// Closed boxes: touching counts as overlapping.
bool boxes_overlap(const box& a, const box& b);
// The vector projection of the point onto the axis (any non-zero length).
vec2d project_onto(vec2d point, vec2d axis);
float dot(float ux, float uy, float vx, float vy);
// Separating-axis test of the two rotated rectangles; touching counts. An
// object with a zero-length edge (no bitmap, zero width, height or scale)
// collides with nothing.
bool rects_overlap_rotated(const Object& a, const Object& b);
// The game's collision test: boxes when neither object is rotated, the
// rotated test otherwise. Geometry only: opacity, flips and camera play no part.
bool collides(const Object& a, const Object& b);

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
