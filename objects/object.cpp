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
  if (has_frames()) {
    w = frame_width;
    h = frame_height;
  } else {
    w = al_get_bitmap_width(bitmap);
    h = al_get_bitmap_height(bitmap);
  }
}

bool Object::has_frames() const {
  return bitmap && frame_width > 0 && frame_height > 0 && frame_width <= al_get_bitmap_width(bitmap) &&
         frame_height <= al_get_bitmap_height(bitmap);
}

bool Object::set_sprite_sheet(const std::string& image_name, int frame_w, int frame_h) {
  frame_width = frame_w;
  frame_height = frame_h;
  frame = 0;
  frame_player.stop();
  // Sized to a frame, or to the whole image when no frame fits.
  if (!set_bitmap(image_name, true)) return false;
  if (has_frames()) return true;
  frame_width = 0;
  frame_height = 0;
  return false;
}

int Object::frame_count() const {
  if (!bitmap) return 0;
  if (!has_frames()) return 1;
  return (al_get_bitmap_width(bitmap) / frame_width) * (al_get_bitmap_height(bitmap) / frame_height);
}

void Object::cycle_frames(frame_cycle cycle) {
  if (cycle.count == 0) cycle.count = frame_count() - cycle.first;
  frame_player.start(cycle);
}

void Object::stop_frames() {
  frame = current_frame();
  frame_player.stop();
}

int Object::current_frame() const {
  const int shown = frame_player.playing() ? frame_player.frame() : frame;
  const int count = frame_count();
  if (count <= 1) return 0;
  return (shown % count + count) % count;
}

bool Object::frames_finished() const { return frame_player.finished(); }

image_rect Object::frame_rect() const {
  if (!bitmap) return {};
  if (!has_frames()) return {0, 0, al_get_bitmap_width(bitmap), al_get_bitmap_height(bitmap)};
  const int columns = al_get_bitmap_width(bitmap) / frame_width;
  const int shown = current_frame();
  return {shown % columns * frame_width, shown / columns * frame_height, frame_width, frame_height};
}

bool Object::is_visible() const { return opacity != 0.0f && scale_x != 0.0f && scale_y != 0.0f; }

bool Object::is_on_screen() const {
  const float ox = camera_offset_x(*this);
  const float oy = camera_offset_y(*this);
  return bottom() + oy >= 0.0f && top() + oy <= static_cast<float>(display_height) && left() + ox >= 0.0f &&
         right() + ox <= static_cast<float>(display_width);
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
  frame_player.pause();
}

void Object::resume_animators() {
  for_each_list(*this, [](auto& list) { list.resume_all(); });
  frame_player.resume();
}

void Object::clear_animators() {
  for_each_list(*this, [](auto& list) { list.clear(); });
  if (frame_player.playing()) stop_frames();
}

int Object::animator_count() const { return animator_tally; }

bool Object::animations_finished() const { return animator_tally == 0 && frames_finished(); }

void Object::bind_animators() {
  for_each_property(*this, [this](auto& property, auto& list) {
    list.bind(&property).count_into(&animator_tally);
  });
}

void Object::bring_to_front() { object_registry.bring_to_front(this); }

float camera_offset_x(const Object& object) { return object.screen_fixed ? 0.0f : -camera.x; }
float camera_offset_y(const Object& object) { return object.screen_fixed ? 0.0f : -camera.y; }

}  // namespace tank
