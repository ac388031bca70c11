#pragma once

#include <allegro5/allegro.h>

#include <array>
#include <string>
#include <vector>

#include <tank/animation/animator_list.hpp>
#include <tank/animation/curves.hpp>
#include <tank/math/blend_mode.hpp>
#include <tank/math/vec2d.hpp>
// An Object's constructor registers it and may take its image from the image
// bin: including both here gives every file that can define a global Object
// their guards, so they are built before such a global and outlive it.
#include <tank/objects/object_registry.hpp>
#include <tank/resources/graphics_bin.hpp>

namespace tank {

// The one drawable thing: a borrowed bitmap placed with its anchor at (x, y),
// scaled, turned clockwise by `rotation` radians about the anchor, mirrored,
// tinted and blended. Every live object is listed in `object_registry`, which
// draws them by ascending depth; each animatable field has its own animator
// list, bound to it for the object's whole life.
//
// The anchor is a fraction of the size: (0, 0) is the top-left corner,
// (0.5, 0.5) the centre. An object without a bitmap measures 0 x 0 whatever
// `w` and `h` hold.
struct Object {
  int w = 0;  // unscaled size, copied from the bitmap by size_from_bitmap
  int h = 0;
  float x = 0.0f;  // the anchor point in world pixels
  float y = 0.0f;
  float depth = 0.0f;  // drawing order: higher is drawn later, on top
  float scale_x = 1.0f;
  float scale_y = 1.0f;
  float opacity = 1.0f;  // copied into the alpha of `color` at every draw
  float rotation = 0.0f;
  float align_x = 0.0f;
  float align_y = 0.0f;
  bool flip_h = false;
  bool flip_v = false;
  ALLEGRO_BITMAP* bitmap = nullptr;  // owned by the image bin
  ALLEGRO_COLOR color = al_map_rgba_f(1, 1, 1, 1);
  tank::blend_mode blend_mode = tank::blend_mode::normal;
  bool screen_fixed = false;  // true: drawn where it is, ignoring the camera
  // How many animators the thirteen lists hold together, kept by the lists:
  // an object with none skips its animation step without touching them.
  int animator_tally = 0;

  animator_list_class<float> x_animators;
  animator_list_class<float> y_animators;
  animator_list_class<float> depth_animators;
  animator_list_class<float> scale_x_animators;
  animator_list_class<float> scale_y_animators;
  animator_list_class<float> opacity_animators;
  animator_list_class<float> rotation_animators;
  animator_list_class<float> align_x_animators;
  animator_list_class<float> align_y_animators;
  animator_list_class<bool> flip_h_animators;
  animator_list_class<bool> flip_v_animators;
  animator_list_class<ALLEGRO_BITMAP*> bitmap_animators;
  animator_list_class<ALLEGRO_COLOR> color_animators;

  // Both constructors bind the lists and register the object; the second
  // also takes the named image and its size (a failed name leaves no bitmap).
  Object();
  explicit Object(const std::string& image_name);
  // Leaves the registry, then the lists delete their animators.
  ~Object();

  // The lists are bound to this object's own fields and own their animators.
  Object(const Object&) = delete;
  Object& operator=(const Object&) = delete;

  // Placement of the unrotated, unflipped rectangle in world pixels.
  float bitmap_width() const;
  float bitmap_height() const;
  float scaled_width() const;
  float scaled_height() const;
  float anchor_offset_x() const;  // from the left edge to the anchor
  float anchor_offset_y() const;  // from the top edge to the anchor
  float left() const;
  float right() const;
  float top() const;
  float bottom() const;
  float center_x() const;
  float center_y() const;
  float get_x() const;

  // The rectangle's corners turned clockwise by `rotation` about (x, y), in
  // the order top-left, top-right, bottom-right, bottom-left of the unrotated
  // rectangle. corner_points gives the same four without allocating.
  std::vector<vec2d> corners() const;
  std::array<vec2d, 4> corner_points() const;

  // Edge setters move the anchor so that the edge lands on v (for the current
  // alignment and scale) and return the new x or y.
  float set_left(float v);
  float set_right(float v);
  float set_top(float v);
  float set_bottom(float v);
  // Written at once; running animators on these fields take over again at
  // their next update.
  void set_position(vec2d p);
  void set_align(vec2d a);
  void align_left();
  void align_center();
  void align_right();
  void align_top();
  void align_middle();
  void align_bottom();
  void fix_to_screen();
  void unfix_from_screen();

  // False when there is no such image: the object is then left without a
  // bitmap and `w`, `h` keep their values. resize copies the image's size.
  bool set_bitmap(std::string image_name, bool resize);
  bool set_bitmap(ALLEGRO_BITMAP* image, bool resize);
  void size_from_bitmap();

  bool is_visible() const;
  // Overlaps the display vertically and lies wholly inside it horizontally.
  bool is_on_screen() const;
  // A screen point inside the unrotated rectangle, edges included.
  bool contains_point(float px, float py) const;
  vec2d position() const;
  vec2d screen_position() const;

  // Ready-made appearances; each does nothing when the object is already in
  // the end state. The fades inside pop_in and pop_out use fixed curves; the
  // curve given shapes the scale.
  void fade_in(float duration, curve_kind curve);
  void fade_out(float duration, curve_kind curve);  // always from full opacity
  void pop_in(float duration, curve_kind curve);
  void pop_out(float duration, curve_kind curve);

  // The same operation on all thirteen lists, in declaration order.
  void update_animators();
  void pause_animators();
  void resume_animators();
  void clear_animators();  // every field keeps its current value
  int animator_count() const;
  // Whether every animator on the object has completed: nothing moves it.
  bool animations_finished() const;
  void bind_animators();
  void bring_to_front();  // above the registry's current last entry

  // Draws onto the current target with the object's tint and blend mode and
  // leaves the blender at (0, white); adds draw_debug when debug_view is set.
  void draw();
  // The anchor cross, the rotated outline with its diagonals and the two
  // direction ticks; only for an object that is on screen.
  void draw_debug() const;
};

// The tick out of edge i (from outline[i] to outline[i + 1]) of a clockwise
// outline: from 1 to 15 pixels off the edge's midpoint along its outward
// normal. False, with from and to untouched, for an edge of zero length.
bool direction_tick(const std::vector<vec2d>& outline, int i, vec2d& from, vec2d& to);

// How far the camera shifts the object's drawing: zero when fixed to the screen.
float camera_offset_x(const Object& object);
float camera_offset_y(const Object& object);

}  // namespace tank
