#pragma once

#include <allegro5/allegro.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include <tank/animation/animator_list.hpp>
#include <tank/animation/curves.hpp>
#include <tank/animation/frame_cycle.hpp>
#include <tank/math/blend_mode.hpp>
#include <tank/math/vec2d.hpp>
// An Object's constructor registers it and may take its image from the image
// bin: including both here gives every file that can define a global Object
// their guards, so they are built before such a global and outlive it.
#include <tank/objects/object_registry.hpp>
#include <tank/resources/graphics_bin.hpp>
#include <tank/resources/overlay_parts.hpp>

namespace tank {

// Every field of an Object in declaration order, with its type and the value
// a new object starts with. PROPERTY marks the thirteen that animate: each
// has an animator list named after it (x_animators, ..., color_animators),
// bound to it for the object's whole life. The fields, the lists, their
// binding, every walk over the lists and the moves all come from this one
// table, so a property cannot be added to some of them and missed by others.
#define TANK_OBJECT_FIELDS(FIELD, PROPERTY)                                            \
  FIELD(int, w, 0) /* unscaled size, copied from the bitmap by size_from_bitmap */     \
  FIELD(int, h, 0) /* unscaled height */                                               \
  PROPERTY(float, x, 0.0f) /* the anchor point in world pixels */                      \
  PROPERTY(float, y, 0.0f) /* the anchor's y, downwards */                             \
  PROPERTY(float, depth, 0.0f) /* drawing order: higher is drawn later, on top */      \
  PROPERTY(float, scale_x, 1.0f) /* horizontal scale, 1 as the image is */             \
  PROPERTY(float, scale_y, 1.0f) /* vertical scale */                                  \
  PROPERTY(float, opacity, 1.0f) /* copied into the alpha of `color` at every draw */  \
  PROPERTY(float, rotation, 0.0f) /* radians, clockwise, about the anchor */           \
  PROPERTY(float, align_x, 0.0f) /* 0 left, 1 right, 0.5 the centre */                 \
  PROPERTY(float, align_y, 0.0f) /* 0 top, 1 bottom */                                 \
  PROPERTY(bool, flip_h, false) /* mirrored left to right */                           \
  PROPERTY(bool, flip_v, false) /* mirrored top to bottom */                           \
  PROPERTY(ALLEGRO_BITMAP*, bitmap, nullptr) /* owned by the image bin */              \
  PROPERTY(ALLEGRO_COLOR, color, al_map_rgba_f(1, 1, 1, 1)) /* the tint */             \
  FIELD(tank::blend_mode, blend_mode, tank::blend_mode::normal) /* how it blends */    \
  FIELD(bool, screen_fixed, false) /* true: drawn where it is, ignoring the camera */ \
  FIELD(int, frame_width, 0) /* a sprite sheet's grid; 0: the whole image shows */    \
  FIELD(int, frame_height, 0) /* the grid's height */                                 \
  FIELD(int, frame, 0) /* the frame shown while no cycle plays */                     \
  FIELD(tank::frame_cycle_player, frame_player, {}) /* the cycle under way */

// The thirteen animatable properties alone, in the same order.
#define TANK_OBJECT_PROPERTIES(PROPERTY) TANK_OBJECT_FIELDS(TANK_OBJECT_NOT_A_PROPERTY, PROPERTY)
// A FIELD row, left out.
#define TANK_OBJECT_NOT_A_PROPERTY(type, name, initial)

// The one drawable thing: a borrowed bitmap placed with its anchor at (x, y),
// scaled, turned clockwise by `rotation` radians about the anchor, mirrored,
// tinted and blended. Every live object is listed in `object_registry`, which
// draws them by ascending depth; each animatable field has its own animator
// list, bound to it for the object's whole life.
//
// The anchor is a fraction of the size: (0, 0) is the top-left corner,
// (0.5, 0.5) the centre. An object without a bitmap measures 0 x 0 whatever
// `w` and `h` hold.
//
// Objects can live in any container (std::vector, std::deque, a struct in a
// vector): moving one hands its place in the drawing order and its running
// animators to the object it moves into. Copying is not possible.
struct Object {
// A row as the field's declaration.
#define TANK_OBJECT_DECLARE_FIELD(type, name, initial) type name = initial;
  TANK_OBJECT_FIELDS(TANK_OBJECT_DECLARE_FIELD, TANK_OBJECT_DECLARE_FIELD)
#undef TANK_OBJECT_DECLARE_FIELD
  // How many animators the thirteen lists hold together, kept by the lists:
  // an object with none skips its animation step without touching them.
  int animator_tally = 0;

 private:
  friend struct object_registry_class;
  static constexpr std::uint32_t unregistered = static_cast<std::uint32_t>(-1);
  // The registry's name for this object's place, so that leaving and moving
  // find it at once.
  std::uint32_t registry_id = unregistered;
  void take_over(Object& other);
  // A bitmap and a grid that cuts at least one whole frame from it.
  bool has_frames() const;

 public:
// A PROPERTY row as the field's animator list.
#define TANK_OBJECT_DECLARE_LIST(type, name, initial) animator_list_class<type> name##_animators;
  TANK_OBJECT_PROPERTIES(TANK_OBJECT_DECLARE_LIST)
#undef TANK_OBJECT_DECLARE_LIST

  // Every constructor binds the lists and registers the object; those with an
  // image name also take the image and its size (a failed name leaves no
  // bitmap). An object given its depth here is sorted in at that depth.
  Object();
  explicit Object(float start_depth);
  explicit Object(const std::string& image_name);
  Object(const std::string& image_name, float start_depth);
  // Leaves the registry, then the lists delete their animators.
  ~Object();

  // A move hands everything over to the new object: the fields, its place in
  // the drawing order and the running animators, which write the new
  // object's fields from then on. The moved-from object is left out of the
  // registry with no animators; it may be destroyed or moved into again.
  // Move assignment first drops the target's own animators and place.
  Object(Object&& other) noexcept;
  Object& operator=(Object&& other) noexcept;
  // Two objects cannot share one place and one set of animators.
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
  // bitmap and `w`, `h` keep their values. resize copies the image's size
  // (a frame's, for a sprite sheet).
  bool set_bitmap(std::string image_name, bool resize);
  bool set_bitmap(ALLEGRO_BITMAP* image, bool resize);
  void size_from_bitmap();

  // Sprite sheets: an image cut into a grid of frame_width x frame_height
  // frames, numbered left to right, top to bottom (a part-filled last row
  // is fine: cycles name the frames they use). The object shows one frame
  // and measures one: placement, collision and the debug view use the
  // frame's size. Takes the image by name and its frame size, shows frame 0
  // and stops any cycle. False when the image does not load (as set_bitmap)
  // or when no whole frame of that size fits in it; the whole image then
  // shows. The grid stays when the bitmap changes, so a bitmap animator can
  // switch between sheets of one layout.
  bool set_sprite_sheet(const std::string& image_name, int frame_w, int frame_h);
  // The whole frames the grid cuts from the image; 1 when the whole image
  // shows, 0 without a bitmap.
  int frame_count() const;
  // Plays the frames one after another on the animation clock, from the
  // cycle's first, now. While it plays, it decides the frame shown, whatever
  // `frame` says; pause_animators, resume_animators and clear_animators act on
  // it as on the animators.
  void cycle_frames(frame_cycle cycle);
  // Ends the cycle; `frame` is left at the frame it showed.
  void stop_frames();
  // The frame shown now: the cycle's, or `frame`, wrapped into the sheet
  // (frame_count() shows frame 0 again, -1 the last).
  int current_frame() const;
  // No cycle plays, or the one played once has shown its last frame.
  bool frames_finished() const;
  // The part of the image drawn now: the current frame, or the whole image;
  // empty without a bitmap.
  image_rect frame_rect() const;

  bool is_visible() const;  // neither transparent nor scaled to nothing
  // Where the camera puts it, it overlaps the display vertically and lies
  // wholly inside it horizontally.
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

  // The same operation on all thirteen lists, in declaration order; pause,
  // resume and clear act on a frame cycle too.
  void update_animators();
  void pause_animators();
  void resume_animators();
  void clear_animators();  // every field keeps its current value
  int animator_count() const;
  // Whether every animator on the object has completed and its frames
  // finished (frames_finished): nothing moves it.
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
