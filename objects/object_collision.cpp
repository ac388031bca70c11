#include <tank/objects/object_collision.hpp>

namespace tank {

box box_of(const Object& object) {
  return {vec2d(object.center_x(), object.center_y()),
          vec2d(object.scaled_width() / 2.0f, object.scaled_height() / 2.0f)};
}

bool rects_overlap_rotated(const Object& a, const Object& b) {
  return quads_overlap(a.corner_points(), b.corner_points());
}

bool collides(const Object& a, const Object& b) {
  if (a.rotation == 0.0f && b.rotation == 0.0f) return boxes_overlap(box_of(a), box_of(b));
  return rects_overlap_rotated(a, b);
}

}  // namespace tank
