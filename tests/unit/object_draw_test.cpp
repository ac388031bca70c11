#include <allegro5/allegro.h>
#include <allegro5/allegro_color.h>
#include <allegro5/allegro_primitives.h>
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include <tank/math/blend_mode.hpp>
#include <tank/math/color.hpp>
#include <tank/math/vec2d.hpp>
#include <tank/objects/camera.hpp>
#include <tank/objects/object.hpp>
#include <tank/objects/object_collision.hpp>
#include <tank/objects/shapes.hpp>
#include <tank/resources/graphics_bin.hpp>
#include <tank/resources/placeholders.hpp>

#include "app/config.hpp"
#include "tests/support/bitmaps.hpp"
#include "tests/support/library.hpp"
#include "tests/support/test_clock.hpp"

using namespace tank;

namespace {

const ALLEGRO_COLOR black = al_map_rgba_f(0, 0, 0, 1);
const ALLEGRO_COLOR white = al_map_rgba_f(1, 1, 1, 1);
const ALLEGRO_COLOR red = al_map_rgba_f(1, 0, 0, 1);
const ALLEGRO_COLOR green = al_map_rgba_f(0, 1, 0, 1);
const ALLEGRO_COLOR blue = al_map_rgba_f(0, 0, 1, 1);
const ALLEGRO_COLOR yellow = al_map_rgba_f(1, 1, 0, 1);
const ALLEGRO_COLOR orange = al_map_rgba_f(241 / 255.0f, 189 / 255.0f, 50 / 255.0f, 1);

struct ObjectDrawTest : ::testing::Test {
  ALLEGRO_BITMAP* target = nullptr;

  static void SetUpTestSuite() {
    ASSERT_TRUE(start_headless_library());
  }
  static void TearDownTestSuite() { al_uninstall_system(); }

  void SetUp() override {
    target = al_create_bitmap(200, 160);
    al_set_target_bitmap(target);
    al_clear_to_color(black);
    // Ordinary alpha blending with a white tint, as every frame starts.
    last_blend_mode = static_cast<blend_mode>(-1);
    set_blend_mode(blend_mode::normal, al_color_name("white"));
    debug_view = false;
  }
  void TearDown() override {
    debug_view = false;
    camera = {};
    al_set_target_bitmap(nullptr);
    al_destroy_bitmap(target);
  }

  static ALLEGRO_BITMAP* image(int w, int h, ALLEGRO_COLOR fill) { return filled_bitmap(w, h, fill); }

  // The image's centre on (x, y).
  static void centre(Object& o, ALLEGRO_BITMAP* b, float x, float y) {
    o.set_bitmap(b, true);
    o.align_center();
    o.align_middle();
    o.x = x;
    o.y = y;
  }

  static bool same(ALLEGRO_COLOR a, ALLEGRO_COLOR b) { return rgb_near(a, b, 2.5f / 255.0f); }
  bool at(int x, int y, ALLEGRO_COLOR c) const { return same(al_get_pixel(target, x, y), c); }
  // Lines that fall between two pixel rows or columns may land on either.
  bool near(int x, int y, ALLEGRO_COLOR c) const {
    for (int dy = -1; dy <= 1; ++dy) {
      for (int dx = -1; dx <= 1; ++dx) {
        if (at(x + dx, y + dy, c)) return true;
      }
    }
    return false;
  }
  int count(ALLEGRO_COLOR c) const {
    int n = 0;
    for (int y = 0; y < al_get_bitmap_height(target); ++y) {
      for (int x = 0; x < al_get_bitmap_width(target); ++x) n += at(x, y, c);
    }
    return n;
  }
};

TEST_F(ObjectDrawTest, AnInvisibleObjectDrawsNothingAndKeepsItsColour) {
  ALLEGRO_BITMAP* square = image(10, 10, red);
  Object o;
  o.set_bitmap(square, true);
  o.x = 20;
  o.y = 20;
  o.opacity = 0.0f;
  debug_view = true;
  o.draw();
  EXPECT_EQ(count(black), 200 * 160) << "neither the image nor its debug view";
  EXPECT_EQ(o.color.a, 1.0f);

  o.opacity = 0.5f;
  o.scale_y = 0.0f;
  o.draw();
  EXPECT_EQ(count(black), 200 * 160);
  EXPECT_EQ(o.color.a, 1.0f);
  al_destroy_bitmap(square);
}

TEST_F(ObjectDrawTest, TheTintCarriesTheOpacity) {
  al_clear_to_color(blue);
  ALLEGRO_BITMAP* square = image(10, 10, white);
  Object o;
  o.set_bitmap(square, true);
  o.x = 20;
  o.y = 20;
  o.color = red;
  o.opacity = 0.5f;
  o.draw();
  EXPECT_TRUE(same(al_get_pixel(target, 25, 25), al_map_rgba_f(0.5f, 0, 0.5f, 1)));
  EXPECT_TRUE(at(15, 25, blue));
  EXPECT_EQ(o.color.a, 0.5f) << "the colour keeps the opacity of the last draw";
  EXPECT_EQ(last_blend_mode, blend_mode::normal) << "the blender goes back to (0, white)";
  EXPECT_TRUE(colors_equal(last_blend_color, al_color_name("white")));
  EXPECT_TRUE(colors_equal(current_tint(), al_color_name("white")));
  al_destroy_bitmap(square);
}

TEST_F(ObjectDrawTest, ObjectsOfDifferentTintsInARowEachKeepTheirOwn) {
  ALLEGRO_BITMAP* square = image(10, 10, white);
  Object first;
  Object second;
  first.set_bitmap(square, true);
  second.set_bitmap(square, true);
  second.x = 20;
  first.color = red;
  second.color = green;
  second.opacity = 0.5f;
  first.draw();
  second.draw();
  EXPECT_TRUE(at(5, 5, red));
  EXPECT_TRUE(at(25, 5, al_map_rgba_f(0, 0.5f, 0, 1)));
  EXPECT_TRUE(colors_equal(current_tint(), al_color_name("white")));
  al_destroy_bitmap(square);
}

TEST_F(ObjectDrawTest, AnAdditiveObjectFadesThroughBlack) {
  const ALLEGRO_COLOR grey = al_map_rgba_f(0.2f, 0.2f, 0.2f, 1);
  al_clear_to_color(grey);
  ALLEGRO_BITMAP* square = image(10, 10, white);
  Object o;
  o.set_bitmap(square, true);
  o.blend_mode = blend_mode::additive;
  o.color = al_map_rgba_f(1.0f, 0.8f, 0.4f, 1.0f);
  o.opacity = 0.25f;
  o.draw();
  // A quarter of the colour added to the grey.
  EXPECT_TRUE(same(al_get_pixel(target, 5, 5), al_map_rgba_f(0.45f, 0.4f, 0.3f, 1)));

  o.opacity = 1.0f;
  o.x = 20;
  o.draw();
  EXPECT_TRUE(same(al_get_pixel(target, 25, 5), al_map_rgba_f(1.0f, 1.0f, 0.6f, 1)));
  EXPECT_EQ(last_blend_mode, blend_mode::normal);
  al_destroy_bitmap(square);
}

// A soft spark: its image's alpha and the object's opacity both scale what it adds.
TEST_F(ObjectDrawTest, AdditiveAlphaAddsInProportionToAlphaWhereAdditiveIgnoresIt) {
  const ALLEGRO_COLOR grey = al_map_rgba_f(0.2f, 0.2f, 0.2f, 1);
  al_clear_to_color(grey);
  ALLEGRO_BITMAP* soft = image(10, 10, al_map_rgba_f(1, 1, 1, 0.5f));
  Object o;
  o.set_bitmap(soft, true);
  o.color = al_map_rgba_f(1.0f, 0.8f, 0.4f, 1.0f);
  o.blend_mode = blend_mode::additive;
  o.draw();
  EXPECT_TRUE(same(al_get_pixel(target, 5, 5), al_map_rgba_f(1.0f, 1.0f, 0.6f, 1))) << "a hard square";

  o.blend_mode = blend_mode::additive_alpha;
  o.x = 20;
  o.draw();
  EXPECT_TRUE(same(al_get_pixel(target, 25, 5), al_map_rgba_f(0.7f, 0.6f, 0.4f, 1))) << "half of it";
  o.opacity = 0.5f;
  o.x = 40;
  o.draw();
  EXPECT_TRUE(same(al_get_pixel(target, 45, 5), al_map_rgba_f(0.45f, 0.4f, 0.3f, 1))) << "a quarter";
  EXPECT_EQ(last_blend_mode, blend_mode::normal);
  al_destroy_bitmap(soft);
}

TEST_F(ObjectDrawTest, ThePivotIsAWholeImagePixel) {
  ALLEGRO_BITMAP* picture = image(33, 21, green);
  al_set_target_bitmap(picture);
  al_put_pixel(16, 10, red);
  al_set_target_bitmap(target);
  Object o;
  centre(o, picture, 50, 40);
  o.draw();
  EXPECT_TRUE(at(50, 40, red)) << "pixel (16, 10) lands on the position";
  EXPECT_TRUE(at(34, 30, green));
  EXPECT_TRUE(at(33, 30, black));
  EXPECT_TRUE(at(34, 29, black));
  EXPECT_TRUE(at(66, 50, green));
  EXPECT_TRUE(at(67, 50, black));
  EXPECT_TRUE(at(66, 51, black));
  al_destroy_bitmap(picture);
}

TEST_F(ObjectDrawTest, FlipsMirrorTheImageInPlace) {
  // Red top-left quarter, the rest green.
  ALLEGRO_BITMAP* picture = image(4, 4, green);
  al_set_target_bitmap(picture);
  al_draw_filled_rectangle(0, 0, 2, 2, red);
  al_set_target_bitmap(target);
  Object o;
  o.set_bitmap(picture, true);
  o.x = 20;
  o.y = 20;
  o.flip_h = true;
  o.flip_v = true;
  o.draw();
  EXPECT_TRUE(at(22, 22, red));
  EXPECT_TRUE(at(23, 23, red));
  EXPECT_TRUE(at(20, 20, green));
  EXPECT_TRUE(at(23, 20, green));

  o.x = 40;
  o.flip_v = false;
  o.draw();
  EXPECT_TRUE(at(43, 20, red)) << "mirrored left to right only";
  EXPECT_TRUE(at(40, 20, green));
  EXPECT_TRUE(at(43, 23, green));
  al_destroy_bitmap(picture);
}

TEST_F(ObjectDrawTest, WithoutABitmapThePlaceholderSitsAtThePosition) {
  const ALLEGRO_COLOR magenta = al_map_rgba_f(1, 0, 1, 1);
  missing_image = image(8, 8, magenta);
  Object o;
  o.x = 30;
  o.y = 40;
  o.align_center();
  o.align_middle();
  o.scale_x = 3.0f;
  o.rotation = 1.0f;
  o.draw();
  EXPECT_TRUE(at(30, 40, magenta));
  EXPECT_TRUE(at(37, 47, magenta));
  EXPECT_TRUE(at(29, 40, black));
  EXPECT_TRUE(at(38, 47, black));
  EXPECT_TRUE(at(37, 48, black));
  EXPECT_EQ(count(magenta), 64) << "unscaled and unrotated";
  al_destroy_bitmap(missing_image);
  missing_image = nullptr;
}

TEST_F(ObjectDrawTest, TheDebugViewOutlinesTheRectangle) {
  ALLEGRO_BITMAP* clear = image(40, 20, al_map_rgba_f(0, 0, 0, 0));
  Object o;
  centre(o, clear, 100, 100);
  debug_view = true;
  o.draw();

  // The red outline from (80, 90) to (120, 110).
  for (int x : {84, 95, 105, 116}) {
    EXPECT_TRUE(near(x, 90, red)) << "top edge at x " << x;
    EXPECT_TRUE(near(x, 110, red)) << "bottom edge at x " << x;
  }
  for (int y : {93, 107}) {
    EXPECT_TRUE(near(80, y, red)) << "left edge at y " << y;
    EXPECT_TRUE(near(120, y, red)) << "right edge at y " << y;
  }
  // The red diagonal from the top-left, the yellow one from the top-right.
  EXPECT_TRUE(near(90, 95, red));
  EXPECT_TRUE(near(110, 105, red));
  EXPECT_TRUE(near(110, 95, yellow));
  EXPECT_TRUE(near(90, 105, yellow));
  EXPECT_FALSE(near(90, 95, yellow));
  // The cross on the anchor.
  EXPECT_TRUE(near(100, 95, red));
  EXPECT_TRUE(near(95, 100, red));
  // The ticks: up from the top edge, right from the right edge.
  for (int y : {77, 82, 87}) EXPECT_TRUE(near(100, y, orange)) << "top tick at y " << y;
  for (int x : {123, 128, 133}) EXPECT_TRUE(near(x, 100, orange)) << "right tick at x " << x;
  EXPECT_FALSE(near(100, 72, orange));
  EXPECT_FALSE(near(138, 100, orange));
  EXPECT_FALSE(near(100, 113, orange)) << "no tick on the bottom edge";
  EXPECT_FALSE(near(77, 100, orange)) << "no tick on the left edge";
  EXPECT_NEAR(count(orange), 28, 4);
  al_destroy_bitmap(clear);
}

TEST_F(ObjectDrawTest, TheDebugViewNeedsTheObjectWhollyWithinTheWidth) {
  ALLEGRO_BITMAP* square = image(40, 20, blue);
  Object o;
  centre(o, square, 15, 100);  // left edge at -5
  debug_view = true;
  o.draw();
  EXPECT_TRUE(at(15, 100, blue)) << "the object itself is drawn";
  EXPECT_EQ(count(red), 0);
  EXPECT_EQ(count(orange), 0);
  al_destroy_bitmap(square);
}

TEST(DirectionTick, StartsOnePixelOutAndHasNoneForAPoint) {
  const std::vector<vec2d> outline{vec2d(80, 90), vec2d(120, 90), vec2d(120, 110), vec2d(80, 110)};
  vec2d from;
  vec2d to;
  ASSERT_TRUE(direction_tick(outline, 0, from, to));
  EXPECT_EQ(from.x, 100.0f);
  EXPECT_EQ(from.y, 89.0f);
  EXPECT_EQ(to.x, 100.0f);
  EXPECT_EQ(to.y, 75.0f);
  ASSERT_TRUE(direction_tick(outline, 1, from, to));
  EXPECT_EQ(from.x, 121.0f);
  EXPECT_EQ(from.y, 100.0f);
  EXPECT_EQ(to.x, 135.0f);

  const std::vector<vec2d> collapsed{vec2d(60, 50), vec2d(60, 50), vec2d(60, 70)};
  from = to = vec2d(-1, -1);
  EXPECT_FALSE(direction_tick(collapsed, 0, from, to));
  EXPECT_EQ(from.x, -1.0f) << "no non-finite ends come out";
  EXPECT_EQ(to.y, -1.0f);
  ASSERT_TRUE(direction_tick(collapsed, 1, from, to));
  EXPECT_EQ(from.x, 61.0f);
  EXPECT_EQ(from.y, 60.0f);
}

TEST_F(ObjectDrawTest, AnEdgeOfZeroLengthGetsNoTick) {
  ALLEGRO_BITMAP* square = image(10, 10, al_map_rgba_f(0, 0, 0, 0));
  Object o;
  o.set_bitmap(square, false);  // no width and no height yet
  o.h = 20;
  o.align_center();
  o.align_middle();
  o.x = 60;
  o.y = 60;
  o.draw_debug();
  // The top edge is a point; the right edge runs from (60, 50) to (60, 70).
  for (int x : {63, 68, 73}) EXPECT_TRUE(near(x, 60, orange)) << "right tick at x " << x;
  EXPECT_NEAR(count(orange), 14, 2) << "only the right edge's tick";
  EXPECT_TRUE(near(60, 56, red)) << "the cross is still drawn";

  Object point;  // no bitmap: every edge is a point
  point.x = 150;
  point.y = 60;
  al_clear_to_color(black);
  point.draw_debug();
  EXPECT_EQ(count(orange), 0);
  EXPECT_TRUE(near(150, 56, red));
  al_destroy_bitmap(square);
}


// A 3 x 2 grid of 10 x 8 frames, frame i in colour i + 1 of three bits
// (red, green, yellow, blue, magenta, cyan), asked for by name.
struct SpriteSheetTest : ObjectDrawTest {
  static ALLEGRO_COLOR frame_color(int i) {
    const int bits = i + 1;
    return al_map_rgba_f(bits & 1, (bits >> 1) & 1, (bits >> 2) & 1, 1);
  }
  void SetUp() override {
    ObjectDrawTest::SetUp();
    ALLEGRO_BITMAP* sheet = al_create_bitmap(30, 16);
    al_set_target_bitmap(sheet);
    for (int i = 0; i < 6; ++i) {
      al_draw_filled_rectangle(i % 3 * 10, i / 3 * 8, i % 3 * 10 + 10, i / 3 * 8 + 8, frame_color(i));
    }
    al_set_target_bitmap(target);
    graphics_bin.loaded["sheet.png"] = sheet;
  }
  void TearDown() override {
    al_destroy_bitmap(graphics_bin.loaded["sheet.png"]);
    graphics_bin.loaded.erase("sheet.png");
    ObjectDrawTest::TearDown();
  }
  // Exactly the 10 x 8 frame at (50, 40) in the frame's colour.
  bool shows_frame(int i) const {
    return at(50, 40, frame_color(i)) && at(59, 47, frame_color(i)) && at(60, 40, black) && at(50, 48, black) &&
           at(49, 40, black) && at(50, 39, black);
  }
};

TEST_F(SpriteSheetTest, ASheetShowsOneFrameAndMeasuresOne) {
  Object o;
  ASSERT_TRUE(o.set_sprite_sheet("sheet.png", 10, 8));
  EXPECT_EQ(o.frame_count(), 6);
  EXPECT_EQ(o.w, 10);
  EXPECT_EQ(o.h, 8);
  o.x = 50;
  o.y = 40;
  for (int frame : {0, 4, 5, 7, -1}) {
    al_clear_to_color(black);
    o.frame = frame;
    o.draw();
    EXPECT_TRUE(shows_frame((frame % 6 + 6) % 6)) << "frame " << frame;
  }

  // Collision and the outline take the frame's size, not the sheet's.
  Object beside;
  beside.set_bitmap(image(5, 5, white), true);
  beside.set_position({65, 40});
  EXPECT_EQ(o.right(), 60.0f);
  EXPECT_FALSE(collides(o, beside));
  beside.x = 60;
  EXPECT_TRUE(collides(o, beside)) << "touching counts";
  al_destroy_bitmap(beside.bitmap);

  EXPECT_FALSE(o.set_sprite_sheet("sheet.png", 40, 8)) << "no whole frame fits";
  EXPECT_EQ(o.frame_count(), 1);
  EXPECT_EQ(o.w, 30) << "the whole image shows";
  EXPECT_FALSE(o.set_sprite_sheet("no such sheet.png", 10, 8));
  EXPECT_EQ(o.frame_count(), 0);
}

TEST_F(SpriteSheetTest, FramesCycleAndPauseOnTheAnimationClock) {
  test_clock_class clock;
  Object o;
  ASSERT_TRUE(o.set_sprite_sheet("sheet.png", 10, 8));
  o.x = 50;
  o.y = 40;
  o.cycle_frames({.first = 1, .count = 3, .fps = 10});
  EXPECT_EQ(o.current_frame(), 1);
  clock.set(0.15);
  EXPECT_EQ(o.current_frame(), 2);
  clock.set(0.35);
  EXPECT_EQ(o.current_frame(), 1) << "looped back to the first";
  o.draw();
  EXPECT_TRUE(shows_frame(1));
  o.pause_animators();
  clock.set(5.0);
  EXPECT_EQ(o.current_frame(), 1) << "paused where it stood";
  o.resume_animators();
  clock.advance(0.1);
  EXPECT_EQ(o.current_frame(), 2);
  EXPECT_FALSE(o.animations_finished()) << "a loop never finishes";

  // A move takes the cycle along.
  Object moved = std::move(o);
  EXPECT_EQ(moved.current_frame(), 2);
  moved.stop_frames();
  clock.advance(1.0);
  EXPECT_EQ(moved.frame, 2);
  EXPECT_EQ(moved.current_frame(), 2) << "stopped on the frame it showed";
  EXPECT_TRUE(moved.animations_finished());

  // Once, from frame 4 to the sheet's last: two frames, a tenth of a second each.
  moved.cycle_frames({.first = 4, .repeat = frame_repeat::once});
  clock.advance(0.1);
  EXPECT_EQ(moved.current_frame(), 5);
  EXPECT_FALSE(moved.frames_finished());
  clock.advance(0.1);
  EXPECT_TRUE(moved.frames_finished());
  clock.advance(10.0);
  EXPECT_EQ(moved.current_frame(), 5) << "stays on its last frame";
}

TEST_F(ObjectDrawTest, ShapesLandOnTheirPixelsInTheWorldOrOnTheScreen) {
  camera = {100, 50};
  fill_rectangle(110, 60, 20, 10, red, coordinates::world);
  fill_rectangle(110, 60, 20, 10, green, coordinates::screen);
  outline_rectangle(140, 20, 30, 20, blue, 2, coordinates::screen);
  fill_rectangle(0, 0, -5, 5, white, coordinates::screen);

  // Shifted by the camera: (10, 10) to (30, 20) on the screen.
  EXPECT_TRUE(at(10, 10, red) && at(29, 19, red));
  EXPECT_TRUE(at(9, 10, black) && at(30, 10, black) && at(10, 9, black) && at(10, 20, black));
  EXPECT_TRUE(at(110, 60, green) && at(129, 69, green) && at(130, 69, black) && at(129, 70, black));
  // The band lies inside the rectangle, two pixels wide.
  EXPECT_TRUE(at(140, 20, blue) && at(141, 30, blue) && at(169, 39, blue) && at(168, 30, blue));
  EXPECT_TRUE(at(139, 30, black) && at(142, 30, black) && at(167, 30, black) && at(170, 30, black));
  EXPECT_TRUE(at(155, 30, black));
  EXPECT_EQ(count(blue), 2 * 30 * 2 + 2 * 16 * 2) << "corners are not drawn twice";
  EXPECT_EQ(count(white), 0) << "a negative width draws nothing";
  EXPECT_EQ(last_blend_mode, blend_mode::normal);
  EXPECT_TRUE(colors_equal(current_tint(), al_color_name("white")));

  // Circles and lines: the camera moves them alike.
  fill_circle(140, 170, 10, yellow, coordinates::world);
  EXPECT_TRUE(at(40, 120, yellow) && at(40, 111, yellow) && at(40, 131, black) && at(51, 120, black));
  draw_line(100, 200, 200, 200, white, 2, coordinates::world);
  EXPECT_TRUE(at(20, 150, white) && at(20, 149, white) && at(20, 152, black));
  EXPECT_TRUE(at(0, 150, white) && at(99, 150, white) && at(101, 150, black));

  // An object far out in the world is on the screen where the camera shows it.
  Object o;
  o.set_bitmap(image(10, 10, white), true);
  o.set_position({1000, 500});
  camera = {995, 495};
  EXPECT_TRUE(o.is_on_screen());
  EXPECT_EQ(world_to_screen(o.position()), vec2d(5, 5));
  EXPECT_EQ(screen_to_world({5, 5}), o.position());
  camera = {};
  EXPECT_FALSE(o.is_on_screen());
  al_destroy_bitmap(o.bitmap);
}

}  // namespace
