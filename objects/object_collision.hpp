#pragma once

#include <tank/math/collision.hpp>
#include <tank/objects/object.hpp>

namespace tank {

// Collision of objects: their image rectangles, scaled, anchored and turned
// about the anchor. Geometry only: opacity, flips and camera play no part.

// The object's unrotated rectangle.
box box_of(const Object& object);
// Separating-axis test of the two rotated rectangles; touching counts. An
// object with a zero-length edge (no bitmap, zero width, height or scale)
// collides with nothing.
bool rects_overlap_rotated(const Object& a, const Object& b);
// Boxes when neither object is rotated, the rotated test otherwise.
bool collides(const Object& a, const Object& b);

}  // namespace tank
