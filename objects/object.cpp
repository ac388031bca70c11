#include <tank/objects/object.hpp>

#include <tank/animation/curves.hpp>
#include <tank/core/settings.hpp>
#include <tank/math/collision.hpp>
#include <tank/math/numeric.hpp>
#include <tank/objects/camera.hpp>
#include <tank/objects/object_registry.hpp>
#include <tank/resources/graphics_bin.hpp>

namespace tank {

Object::Object() : Object(0.0f) {}

Object::Object(float start_depth) : depth(start_depth) {
  bind_animators();
  register_object(this);
}

Object::Object(const std::string& image_name) : Object() { set_bitmap(image_name, true); }

Object::Object(const std::string& image_name, float start_depth) : Object(start_depth) {
  set_bitmap(image_name, true);
}

Object::~Object() { unregister_object(this); }

Object::Object(Object&& other) noexcept {
  bind_animators();
  take_over(other);
}

Object& Object::operator=(Object&& other) noexcept {
  if (this == &other) return *this;
  clear_animators();
  unregister_object(this);
  take_over(other);
  return *this;
}

// Everything of `other` becomes this object's; `this` has no animators and
// no place of its own when it starts.
void Object::take_over(Object& other) {
#define TANK_OBJECT_TAKE_FIELD(type, name, initial) name = other.name;
  TANK_OBJECT_FIELDS(TANK_OBJECT_TAKE_FIELD, TANK_OBJECT_TAKE_FIELD)
#undef TANK_OBJECT_TAKE_FIELD
#define TANK_OBJECT_TAKE_LIST(type, name, initial) \
  name##_animators.take_over(other.name##_animators, &other.name, &name);
  TANK_OBJECT_PROPERTIES(TANK_OBJECT_TAKE_LIST)
#undef TANK_OBJECT_TAKE_LIST
  animator_tally = other.animator_tally;
  other.animator_tally = 0;
  object_registry.hand_over(&other, this);
}

float Object::bitmap_width() const { return bitmap ? static_cast<float>(w) : 0.0f; }
float Object::bitmap_height() const { return bitmap ? static_cast<float>(h) : 0.0f; }
float Object::scaled_width() const { return bitmap_width() * scale_x; }
float Object::scaled_height() const { return bitmap_height() * scale_y; }
float Object::anchor_offset_x() const { return scaled_width() * align_x; }
float Object::anchor_offset_y() const { return scaled_height() * align_y; }
float Object::left() const { return x - anchor_offset_x(); }
float Object::right() const { return left() + scaled_width(); }
float Object::top() const { return y - anchor_offset_y(); }
float Object::bottom() const { return top() + scaled_height(); }
float Object::center_x() const { return left() + scaled_width() / 2.0f; }
float Object::center_y() const { return top() + scaled_height() / 2.0f; }
float Object::get_x() const { return x; }

std::array<vec2d, 4> Object::corner_points() const {
  const float l = left();
  const float t = top();
  const float r = right();
  const float b = bottom();
  std::array<vec2d, 4> points = {vec2d(l, t), vec2d(r, t), vec2d(r, b), vec2d(l, b)};
  // rotate_point turns counter-clockwise for positive degrees, the drawing
  // turns clockwise for positive radians: hand it the negated angle.
  const float degrees = rad_to_deg(rotation);
  const vec2d pivot(x, y);
  for (vec2d& point : points) rotate_point(point, pivot, -degrees);
  return points;
}

std::vector<vec2d> Object::corners() const {
  const std::array<vec2d, 4> points = corner_points();
  return std::vector<vec2d>(points.begin(), points.end());
}

float Object::set_left(float v) { return x = v + anchor_offset_x(); }
float Object::set_right(float v) { return x = (v - scaled_width()) + anchor_offset_x(); }
float Object::set_top(float v) { return y = v + anchor_offset_y(); }
float Object::set_bottom(float v) { return y = (v - scaled_height()) + anchor_offset_y(); }

void Object::set_position(vec2d p) {
  x_animators.set_value(p.x);
  y_animators.set_value(p.y);
}

void Object::set_align(vec2d a) {
  align_x_animators.set_value(a.x);
  align_y_animators.set_value(a.y);
}

void Object::align_left() { align_x = 0.0f; }
void Object::align_center() { align_x = 0.5f; }
void Object::align_right() { align_x = 1.0f; }
void Object::align_top() { align_y = 0.0f; }
void Object::align_middle() { align_y = 0.5f; }
void Object::align_bottom() { align_y = 1.0f; }
void Object::fix_to_screen() { screen_fixed = true; }
void Object::unfix_from_screen() { screen_fixed = false; }

bool Object::set_bitmap(std::string image_name, bool resize) {
  return set_bitmap(get_bitmap(image_name), resize);
}

bool Object::set_bitmap(ALLEGRO_BITMAP* image, bool resize) {
  bitmap = image;
  if (!bitmap) return false;
  if (resize) size_from_bitmap();
  return true;
}

void Object::size_from_bitmap() {
  if (!bitmap) return;
  w = al_get_bitmap_width(bitmap);
  h = al_get_bitmap_height(bitmap);
}

bool Object::is_visible() const { return opacity != 0.0f && scale_x != 0.0f && scale_y != 0.0f; }

bool Object::is_on_screen() const {
  return bottom() >= 0.0f && top() <= static_cast<float>(display_height) && left() >= 0.0f &&
         right() <= static_cast<float>(display_width);
}

bool Object::contains_point(float px, float py) const {
  const float wx = px - camera_offset_x(*this);
  const float wy = py - camera_offset_y(*this);
  return point_in_rect(wx, wy, left(), top(), right(), bottom());
}

vec2d Object::position() const { return {x, y}; }

vec2d Object::screen_position() const {
  return {x + camera_offset_x(*this), y + camera_offset_y(*this)};
}

void Object::fade_in(float duration, curve_kind curve) {
  if (opacity == 1.0f) return;
  opacity_animators.animate(opacity, 1.0f, 0.0, duration, curve);
}

void Object::fade_out(float duration, curve_kind curve) {
  if (opacity == 0.0f) return;
  opacity_animators.animate(1.0f, 0.0f, 0.0, duration, curve);
}

void Object::pop_in(float duration, curve_kind curve) {
  if (opacity == 1.0f && scale_x == 1.0f && scale_y == 1.0f) return;
  if (opacity != 1.0f) fade_in(duration, curve_quad_out_twice);
  scale_x_animators.animate(0.0f, 1.0f, 0.0, duration, curve);
  scale_y_animators.animate(0.0f, 1.0f, 0.0, duration, curve);
}

void Object::pop_out(float duration, curve_kind curve) {
  if (opacity == 0.0f && scale_x == 0.0f && scale_y == 0.0f) return;
  if (opacity != 0.0f) fade_out(duration, curve_cubic_in);
  scale_x_animators.animate(1.0f, 0.0f, 0.0, duration, curve);
  scale_y_animators.animate(1.0f, 0.0f, 0.0, duration, curve);
}

namespace {
// Every animatable property with its animator list, in declaration order.
template <typename SomeObject, typename Action>
void for_each_property(SomeObject& o, Action action) {
#define TANK_OBJECT_VISIT(type, name, initial) action(o.name, o.name##_animators);
  TANK_OBJECT_PROPERTIES(TANK_OBJECT_VISIT)
#undef TANK_OBJECT_VISIT
}

template <typename Action>
void for_each_list(Object& o, Action action) {
  for_each_property(o, [&action](auto&, auto& list) { action(list); });
}
}  // namespace

void Object::update_animators() {
  if (animator_tally == 0) return;
  for_each_list(*this, [](auto& list) { list.update(); });
}

void Object::pause_animators() {
  for_each_list(*this, [](auto& list) { list.pause_all(); });
}

void Object::resume_animators() {
  for_each_list(*this, [](auto& list) { list.resume_all(); });
}

void Object::clear_animators() {
  for_each_list(*this, [](auto& list) { list.clear(); });
}

int Object::animator_count() const { return animator_tally; }

bool Object::animations_finished() const { return animator_tally == 0; }

void Object::bind_animators() {
  for_each_property(*this, [this](auto& property, auto& list) {
    list.bind(&property).count_into(&animator_tally);
  });
}

void Object::bring_to_front() { object_registry.bring_to_front(this); }

float camera_offset_x(const Object& object) { return object.screen_fixed ? 0.0f : -camera.x; }
float camera_offset_y(const Object& object) { return object.screen_fixed ? 0.0f : -camera.y; }

}  // namespace tank
