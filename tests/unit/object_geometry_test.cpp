#include <allegro5/allegro.h>
#include <allegro5/allegro_image.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include <tank/animation/curves.hpp>
#include <tank/math/color.hpp>
#include <tank/objects/camera.hpp>
#include <tank/objects/object.hpp>
#include <tank/objects/object_registry.hpp>

#include "tests/support/drawing_order.hpp"
#include "tests/support/library.hpp"
#include "tests/support/test_clock.hpp"

using namespace tank;

namespace {

struct ObjectGeometryTest : ::testing::Test {
  static inline ALLEGRO_BITMAP* wide = nullptr;  // 40 x 20

  static void SetUpTestSuite() {
    ASSERT_TRUE(start_headless_library());
    wide = al_create_bitmap(40, 20);
  }
  static void TearDownTestSuite() {
    al_destroy_bitmap(wide);
    al_uninstall_system();
  }

  // A 40 x 20 object with its anchor at the centre, placed at (x, y).
  static void centre_wide(Object& o, float x, float y) {
    o.set_bitmap(wide, true);
    o.align_center();
    o.align_middle();
    o.x = x;
    o.y = y;
  }

  static bool registered(Object* o) { return drawing_order_among({o}).size() == 1; }
};

TEST_F(ObjectGeometryTest, ANewObjectHasTheDefaultsAndIsRegistered) {
  const int before = object_registry.count();
  {
    Object o;
    EXPECT_EQ(o.w, 0);
    EXPECT_EQ(o.h, 0);
    EXPECT_EQ(o.x, 0.0f);
    EXPECT_EQ(o.y, 0.0f);
    EXPECT_EQ(o.depth, 0.0f);
    EXPECT_EQ(o.scale_x, 1.0f);
    EXPECT_EQ(o.scale_y, 1.0f);
    EXPECT_EQ(o.opacity, 1.0f);
    EXPECT_EQ(o.rotation, 0.0f);
    EXPECT_EQ(o.align_x, 0.0f);
    EXPECT_EQ(o.align_y, 0.0f);
    EXPECT_FALSE(o.flip_h);
    EXPECT_FALSE(o.flip_v);
    EXPECT_EQ(o.bitmap, nullptr);
    EXPECT_TRUE(colors_equal(o.color, al_map_rgba_f(1, 1, 1, 1)));
    EXPECT_EQ(o.blend_mode, blend_mode::normal);
    EXPECT_FALSE(o.screen_fixed);
    EXPECT_EQ(o.animator_count(), 0);
    EXPECT_TRUE(registered(&o));
    EXPECT_EQ(object_registry.count(), before + 1);
  }
  EXPECT_EQ(object_registry.count(), before) << "the destructor unregisters";
}

TEST_F(ObjectGeometryTest, EdgesFollowTheAnchorAndTheScale) {
  Object o;
  o.set_bitmap(wide, true);
  o.scale_x = 2.0f;
  o.align_x = 0.5f;
  o.x = 100.0f;
  EXPECT_EQ(o.scaled_width(), 80.0f);
  EXPECT_EQ(o.left(), 60.0f);
  EXPECT_EQ(o.right(), 140.0f);
  EXPECT_EQ(o.center_x(), 100.0f);
  o.align_left();
  EXPECT_EQ(o.left(), 100.0f);
  EXPECT_EQ(o.right(), 180.0f);

  centre_wide(o, 100, 100);
  o.scale_x = 1.0f;
  EXPECT_EQ(o.left(), 80.0f);
  EXPECT_EQ(o.top(), 90.0f);
  EXPECT_EQ(o.right(), 120.0f);
  EXPECT_EQ(o.bottom(), 110.0f);
  EXPECT_EQ(o.center_x(), 100.0f);
  EXPECT_EQ(o.center_y(), 100.0f);
  o.align_right();
  o.align_bottom();
  EXPECT_EQ(o.right(), 100.0f);
  EXPECT_EQ(o.bottom(), 100.0f);

  o.bitmap = nullptr;
  EXPECT_EQ(o.scaled_width(), 0.0f) << "without a bitmap the size is 0 whatever w holds";
  EXPECT_EQ(o.scaled_height(), 0.0f);
  EXPECT_EQ(o.left(), 100.0f);
}

TEST_F(ObjectGeometryTest, CornersTurnClockwiseAboutTheAnchor) {
  Object o;
  centre_wide(o, 100, 100);
  const std::vector<vec2d> flat = o.corners();
  ASSERT_EQ(flat.size(), 4u);
  const float expected_flat[4][2] = {{80, 90}, {120, 90}, {120, 110}, {80, 110}};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(flat[i].x, expected_flat[i][0]) << "corner " << i;
    EXPECT_EQ(flat[i].y, expected_flat[i][1]) << "corner " << i;
  }

  o.rotation = static_cast<float>(M_PI / 2);
  const std::vector<vec2d> turned = o.corners();
  const auto fixed = o.corner_points();
  const float expected_turned[4][2] = {{110, 80}, {110, 120}, {90, 120}, {90, 80}};
  for (int i = 0; i < 4; ++i) {
    EXPECT_NEAR(turned[i].x, expected_turned[i][0], 1e-4) << "corner " << i;
    EXPECT_NEAR(turned[i].y, expected_turned[i][1], 1e-4) << "corner " << i;
    EXPECT_EQ(fixed[i].x, turned[i].x);
    EXPECT_EQ(fixed[i].y, turned[i].y);
  }
}

TEST_F(ObjectGeometryTest, EdgeSettersPutTheEdgeWhereAsked) {
  Object o;
  o.set_bitmap(wide, true);
  o.scale_x = 1.25f;  // scaled width 50
  o.align_right();
  EXPECT_EQ(o.set_right(800), 800.0f);
  o.align_left();
  EXPECT_EQ(o.set_right(800), 750.0f);
  EXPECT_EQ(o.x, 750.0f);

  o.align_x = 0.3f;
  o.set_left(10);
  EXPECT_FLOAT_EQ(o.left(), 10.0f);
  o.align_y = 0.5f;
  o.scale_y = 1.5f;
  o.set_bottom(300);
  EXPECT_FLOAT_EQ(o.bottom(), 300.0f);
  EXPECT_FLOAT_EQ(o.set_top(-5), -5.0f + 15.0f);
  EXPECT_FLOAT_EQ(o.top(), -5.0f);

  o.set_position(vec2d(3, 4));
  o.set_align(vec2d(0.1f, 0.9f));
  EXPECT_EQ(o.position().x, 3.0f);
  EXPECT_EQ(o.position().y, 4.0f);
  EXPECT_EQ(o.get_x(), 3.0f);
  EXPECT_EQ(o.align_x, 0.1f);
  EXPECT_EQ(o.align_y, 0.9f);
}

TEST_F(ObjectGeometryTest, OnScreenOverlapsVerticallyButFitsHorizontally) {
  Object o;
  o.set_bitmap(wide, true);  // 40 x 20
  o.scale_y = 1.5f;          // 30 high
  o.x = 100;
  o.y = -10;  // spans y -10 .. 20
  EXPECT_TRUE(o.is_on_screen());
  o.y = -30;  // bottom exactly on the top edge
  EXPECT_TRUE(o.is_on_screen());
  o.y = -30.5f;
  EXPECT_FALSE(o.is_on_screen());
  o.y = 600;
  EXPECT_TRUE(o.is_on_screen());
  o.y = 600.5f;
  EXPECT_FALSE(o.is_on_screen());

  o.y = 300;
  o.x = -10;  // spans x -10 .. 30
  EXPECT_FALSE(o.is_on_screen());
  o.x = 760;  // right edge exactly at 800
  EXPECT_TRUE(o.is_on_screen());
  o.x = 761;
  EXPECT_FALSE(o.is_on_screen());
}

TEST_F(ObjectGeometryTest, ContainsPointIncludesEdgesIgnoresRotationFollowsCamera) {
  Object o;
  centre_wide(o, 100, 100);
  EXPECT_TRUE(o.contains_point(80, 90));
  EXPECT_TRUE(o.contains_point(120, 110));
  EXPECT_FALSE(o.contains_point(120.01f, 100));
  EXPECT_FALSE(o.contains_point(100, 89.99f));
  o.rotation = static_cast<float>(M_PI / 2);
  EXPECT_TRUE(o.contains_point(118, 92)) << "outside the turned image, inside the rectangle";

  camera = vec2d(10, 5);
  EXPECT_TRUE(o.contains_point(70, 85)) << "the world point (80, 90) is drawn at (70, 85)";
  EXPECT_FALSE(o.contains_point(80, 90 + 20.5f));
  EXPECT_EQ(o.screen_position().x, 90.0f);
  EXPECT_EQ(o.screen_position().y, 95.0f);
  o.fix_to_screen();
  EXPECT_EQ(camera_offset_x(o), 0.0f);
  EXPECT_FALSE(o.contains_point(70, 85));
  EXPECT_EQ(o.screen_position().x, 100.0f);
  o.unfix_from_screen();
  EXPECT_EQ(camera_offset_x(o), -10.0f);
  EXPECT_EQ(camera_offset_y(o), -5.0f);
  camera = vec2d();
}

TEST_F(ObjectGeometryTest, SetBitmapResizesOnlyWhenAsked) {
  ALLEGRO_BITMAP* big = al_create_bitmap(64, 32);
  const std::string name = "/tmp/object_geometry_test_" + std::to_string(getpid()) + ".png";
  ASSERT_TRUE(al_save_bitmap(name.c_str(), big));
  ALLEGRO_BITMAP* small = al_create_bitmap(10, 10);

  Object named(name);
  EXPECT_NE(named.bitmap, nullptr);
  EXPECT_EQ(named.w, 64);
  EXPECT_EQ(named.h, 32);

  Object o;
  EXPECT_TRUE(o.set_bitmap(name, true));
  EXPECT_EQ(o.bitmap, named.bitmap) << "both come from the image bin";
  EXPECT_TRUE(o.set_bitmap(small, false));
  EXPECT_EQ(o.bitmap, small);
  EXPECT_EQ(o.w, 64);
  EXPECT_EQ(o.h, 32);
  EXPECT_EQ(o.scaled_width(), 64.0f);
  EXPECT_EQ(o.scaled_height(), 32.0f);

  EXPECT_FALSE(o.set_bitmap("/tmp/no such image here.png", true));
  EXPECT_EQ(o.bitmap, nullptr);
  EXPECT_EQ(o.w, 64) << "a failed name leaves the numbers";
  EXPECT_EQ(o.scaled_width(), 0.0f);
  o.size_from_bitmap();
  EXPECT_EQ(o.w, 64) << "nothing to copy from";

  Object unnamed("/tmp/no such image here.png");
  EXPECT_EQ(unnamed.bitmap, nullptr);
  EXPECT_EQ(unnamed.w, 0);

  std::remove(name.c_str());
  al_destroy_bitmap(small);
  al_destroy_bitmap(big);
}

struct ObjectAppearanceTest : ObjectGeometryTest {
  test_clock_class clock;
  Object o;

  static void expect_one(const animator_list_class<float>& list, float start, float end, int curve) {
    ASSERT_EQ(list.size(), 1);
    EXPECT_EQ(list.animators[0]->start_value, start);
    EXPECT_EQ(list.animators[0]->end_value, end);
    EXPECT_EQ(list.animators[0]->curve, curve);
  }
};

TEST_F(ObjectAppearanceTest, FadesStartOnlyAwayFromTheirEndState) {
  o.fade_in(1.0f, curve_linear);
  EXPECT_EQ(o.animator_count(), 0) << "already opaque";
  o.opacity = 0.0f;
  o.fade_out(1.0f, curve_linear);
  EXPECT_EQ(o.animator_count(), 0) << "already transparent";

  o.fade_in(1.0f, curve_quad_in);
  expect_one(o.opacity_animators, 0.0f, 1.0f, curve_quad_in);
  o.clear_animators();

  o.opacity = 0.5f;
  o.fade_out(1.0f, curve_linear);
  expect_one(o.opacity_animators, 1.0f, 0.0f, curve_linear);
  clock.advance(0.001);
  o.update_animators();
  EXPECT_NEAR(o.opacity, 1.0f, 0.01f) << "a fade-out first jumps to full opacity";
  clock.advance(1.0);
  o.update_animators();
  EXPECT_EQ(o.opacity, 0.0f);
  EXPECT_EQ(o.animator_count(), 0);
}

TEST_F(ObjectAppearanceTest, PopsAnimateTheScaleAndFadeWithFixedCurves) {
  o.pop_in(0.3f, curve_overshoot);
  EXPECT_EQ(o.animator_count(), 0) << "already fully shown";

  o.scale_x = 0.5f;
  o.scale_y = 0.5f;
  o.pop_in(0.3f, curve_overshoot);
  EXPECT_EQ(o.animator_count(), 2) << "opaque: no fade";
  expect_one(o.scale_x_animators, 0.0f, 1.0f, curve_overshoot);
  expect_one(o.scale_y_animators, 0.0f, 1.0f, curve_overshoot);
  o.clear_animators();

  o.opacity = 0.2f;
  o.pop_in(0.3f, curve_linear);
  expect_one(o.opacity_animators, 0.2f, 1.0f, curve_quad_out_twice);
  EXPECT_EQ(o.animator_count(), 3);
  o.clear_animators();
  EXPECT_EQ(o.opacity, 0.2f) << "clearing keeps the current values";

  o.pop_out(0.3f, curve_linear);
  expect_one(o.opacity_animators, 1.0f, 0.0f, curve_cubic_in);
  expect_one(o.scale_x_animators, 1.0f, 0.0f, curve_linear);
  expect_one(o.scale_y_animators, 1.0f, 0.0f, curve_linear);
  clock.advance(0.5);
  o.update_animators();
  EXPECT_EQ(o.opacity, 0.0f);
  EXPECT_EQ(o.scale_x, 0.0f);
  EXPECT_EQ(o.scale_y, 0.0f);
  o.pop_out(0.3f, curve_linear);
  EXPECT_EQ(o.animator_count(), 0) << "already fully hidden";
}

TEST_F(ObjectAppearanceTest, AllListOperationsReachEveryList) {
  ALLEGRO_BITMAP* const image = wide;
  o.x_animators.animate(0, 10, 0, 1, curve_linear);
  o.y_animators.animate(0, 10, 0, 1, curve_linear);
  o.depth_animators.animate(0, 10, 0, 1, curve_linear);
  o.scale_x_animators.animate(0, 10, 0, 1, curve_linear);
  o.scale_y_animators.animate(0, 10, 0, 1, curve_linear);
  o.opacity_animators.animate(0, 10, 0, 1, curve_linear);
  o.rotation_animators.animate(0, 10, 0, 1, curve_linear);
  o.align_x_animators.animate(0, 10, 0, 1, curve_linear);
  o.align_y_animators.animate(0, 10, 0, 1, curve_linear);
  o.flip_h_animators.animate(false, true, 0, 1, curve_linear);
  o.flip_v_animators.animate(false, true, 0, 1, curve_linear);
  o.bitmap_animators.animate(nullptr, image, 0, 1, curve_linear);
  o.color_animators.animate(al_map_rgba_f(0, 0, 0, 0), al_map_rgba_f(0, 0, 1, 1), 0, 1, curve_linear);
  EXPECT_EQ(o.animator_count(), 13);

  clock.advance(0.5);
  o.pause_animators();
  clock.advance(10.0);
  o.update_animators();
  EXPECT_EQ(o.animator_count(), 13) << "paused animators wait";
  o.resume_animators();
  o.update_animators();
  EXPECT_FLOAT_EQ(o.x, 5.0f) << "the pause is cut out of the elapsed time";
  EXPECT_FALSE(o.flip_v);

  clock.advance(0.5);
  o.update_animators();
  EXPECT_EQ(o.animator_count(), 0);
  for (float v : {o.x, o.y, o.depth, o.scale_x, o.scale_y, o.opacity, o.rotation, o.align_x, o.align_y}) {
    EXPECT_EQ(v, 10.0f);
  }
  EXPECT_TRUE(o.flip_h);
  EXPECT_TRUE(o.flip_v);
  EXPECT_EQ(o.bitmap, image);
  EXPECT_EQ(o.color.b, 1.0f);
}

TEST_F(ObjectAppearanceTest, TheCountFollowsStartsEndsAndClears) {
  const auto sum_of_lists = [this] {
    return o.x_animators.size() + o.opacity_animators.size() + o.color_animators.size();
  };
  o.x_animators.animate(0, 10, 0, 1, curve_linear);
  o.opacity_animators.animate(0, 1, 0, 2, curve_linear);
  o.color_animators.animate(al_map_rgba_f(0, 0, 0, 1), al_map_rgba_f(1, 1, 1, 1), 0, 3, curve_linear);
  EXPECT_EQ(o.animator_count(), 3);
  clock.advance(1.5);
  o.update_animators();
  EXPECT_EQ(o.animator_count(), 2) << "the x animator has ended";
  EXPECT_EQ(o.animator_count(), sum_of_lists());
  o.opacity_animators.clear();
  EXPECT_EQ(o.animator_count(), 1);
  o.clear_animators();
  EXPECT_EQ(o.animator_count(), 0);

  // With nothing running the step leaves the fields alone, whatever they hold.
  o.x = 42.0f;
  o.update_animators();
  EXPECT_EQ(o.x, 42.0f);
}

TEST_F(ObjectAppearanceTest, BringToFrontGoesAboveTheLastEntry) {
  Object other;
  other.depth = 4.0f;
  object_registry.sort_by_depth();
  o.bring_to_front();
  EXPECT_FLOAT_EQ(o.depth, 4.1f);
  EXPECT_EQ(drawing_order().back(), &o);
  o.bring_to_front();
  EXPECT_FLOAT_EQ(o.depth, 4.2f);
}

}  // namespace
