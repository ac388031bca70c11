#include <allegro5/allegro.h>
#include <allegro5/allegro_font.h>
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <filesystem>
#include <string>

#include <tank/math/blend_mode.hpp>
#include <tank/math/color.hpp>
#include <tank/objects/object.hpp>
#include <tank/objects/object_registry.hpp>
#include <tank/resources/font_bin.hpp>
#include <tank/resources/graphics_bin.hpp>
#include <tank/resources/placeholders.hpp>
#include <tank/resources/resource_overlay.hpp>
#include <tank/resources/sample_bin.hpp>

#include "tests/support/bitmaps.hpp"
#include "tests/support/library.hpp"

using namespace tank;

namespace {

const ALLEGRO_COLOR black = al_map_rgba_f(0, 0, 0, 1);
const ALLEGRO_COLOR white = al_map_rgba_f(1, 1, 1, 1);
const ALLEGRO_COLOR green = al_map_rgba_f(0, 1, 0, 1);

bool same(ALLEGRO_COLOR a, ALLEGRO_COLOR b) { return colors_equal(a, b); }

// Everything is drawn onto a black 100 x 60 frame with straight-alpha
// blending, into the global bins the free functions use.
class DrawByNameTest : public ::testing::Test {
 protected:
  ALLEGRO_BITMAP* frame = nullptr;
  std::string font_name = std::filesystem::exists("data/lacuna.ttf")
                              ? "data/lacuna.ttf"
                              : "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";

  static void SetUpTestSuite() {
    ASSERT_TRUE(start_headless_library());
  }
  static void TearDownTestSuite() { al_uninstall_system(); }

  void SetUp() override {
    graphics_bin = {};
    fonts_bin = {};
    samples_bin = {};
    fonts_bin.set_default_font(font_name, -20);
    // A white 4 x 3 placeholder with a green top-left corner.
    missing_image = filled_bitmap(4, 3, white);
    al_set_target_bitmap(missing_image);
    al_put_pixel(0, 0, green);
    frame = filled_bitmap(100, 60, black);
    al_set_target_bitmap(frame);
    al_set_blender(ALLEGRO_ADD, ALLEGRO_ALPHA, ALLEGRO_INVERSE_ALPHA);
  }
  void TearDown() override {
    set_blend_mode(blend_mode::normal, white);
    al_set_target_bitmap(nullptr);
    al_destroy_bitmap(frame);
    if (missing_image) al_destroy_bitmap(missing_image);
    missing_image = nullptr;
    default_font = nullptr;
  }

  ALLEGRO_COLOR at(int x, int y) const { return al_get_pixel(frame, x, y); }

  // Whether the frame equals the given text bitmap drawn plainly at (x, y).
  bool frame_shows_text_at(ALLEGRO_BITMAP* text, float x, float y) const {
    ALLEGRO_BITMAP* expected = filled_bitmap(100, 60, black);
    al_set_target_bitmap(expected);
    al_draw_bitmap(text, x, y, 0);
    al_set_target_bitmap(frame);
    const bool equal = differing_pixels(frame, expected, 0.0f).empty();
    al_destroy_bitmap(expected);
    return equal;
  }
};

TEST_F(DrawByNameTest, MissingImageDrawsThePlaceholderUnscaledAtTheCorner) {
  EXPECT_TRUE(draw_bitmap("data/images/no_such.png", 10, 20, 0.5, 3, 1.0));
  EXPECT_TRUE(same(at(10, 20), green));
  EXPECT_TRUE(same(at(13, 22), white));
  EXPECT_TRUE(same(at(14, 20), black));
  EXPECT_TRUE(same(at(10, 23), black));
  EXPECT_TRUE(same(at(9, 20), black));
  EXPECT_TRUE(draw_bitmap("data/images/no_such.png", 50, 20, 0, 1, 0));
  EXPECT_EQ(graphics_bin.errors.size(), 1u);
  EXPECT_FALSE(bitmap_exists("data/images/no_such.png"));
}

TEST_F(DrawByNameTest, PivotPlacesTheBitmap) {
  ALLEGRO_BITMAP* box = filled_bitmap(10, 6, white);
  graphics_bin.loaded["box"] = box;
  EXPECT_TRUE(bitmap_exists("box"));
  EXPECT_EQ(get_bitmap("box"), box);

  EXPECT_FALSE(draw_bitmap("box", 30, 20, 0.5, 1, 0));  // spans 25..34, 17..22
  EXPECT_TRUE(same(at(25, 17), white) && same(at(34, 22), white));
  EXPECT_TRUE(same(at(24, 17), black) && same(at(35, 22), black) && same(at(25, 16), black) &&
              same(at(34, 23), black));

  EXPECT_FALSE(draw_bitmap("box", 60, 40, 0, 2, 0));  // spans 60..79, 40..51
  EXPECT_TRUE(same(at(60, 40), white) && same(at(79, 51), white));
  EXPECT_TRUE(same(at(59, 40), black) && same(at(80, 51), black) && same(at(60, 39), black) &&
              same(at(79, 52), black));
  al_destroy_bitmap(box);
}

TEST_F(DrawByNameTest, DrawsApplyTheTint) {
  set_blend_mode(blend_mode::normal, al_map_rgba_f(1, 0, 0, 1));
  draw_missing_image(0, 0);
  EXPECT_TRUE(same(at(1, 1), al_map_rgba_f(1, 0, 0, 1)));

  draw_text("H", 20, 10, 0, 0);
  ALLEGRO_BITMAP* text = text_bitmap_default("H");
  ASSERT_NE(text, nullptr);
  bool red_seen = false;
  for (int y = 10; y < 10 + al_get_bitmap_height(text); ++y)
    for (int x = 20; x < 20 + al_get_bitmap_width(text); ++x) {
      EXPECT_EQ(at(x, y).g, 0);
      red_seen = red_seen || at(x, y).r > 0.5;
    }
  EXPECT_TRUE(red_seen);
}

TEST_F(DrawByNameTest, TextTakesAColourOfItsOwnAndLeavesTheTint) {
  const ALLEGRO_COLOR red = al_map_rgba_f(1, 0, 0, 1);
  set_blend_mode(blend_mode::normal, red);
  draw_text("H", 10, 10, 0, 0, green);
  draw_changing_text("H", 50, 10, 0, 0, al_map_rgba_f(0, 0, 1, 1));
  ALLEGRO_BITMAP* text = text_bitmap_default("H");
  ASSERT_NE(text, nullptr);
  int greens = 0;
  int blues = 0;
  for (int y = 10; y < 10 + al_get_bitmap_height(text); ++y)
    for (int x = 0; x < al_get_bitmap_width(text); ++x) {
      EXPECT_EQ(at(10 + x, y).r, 0) << "no trace of the tint";
      EXPECT_EQ(at(50 + x, y).r, 0);
      greens += at(10 + x, y).g > 0.5;
      blues += at(50 + x, y).b > 0.5;
    }
  EXPECT_GT(greens, 20);
  EXPECT_EQ(greens, blues) << "the same glyph, in its own colour";
  EXPECT_TRUE(same(current_tint(), red));
}

TEST_F(DrawByNameTest, TextLandsOnWholePixels) {
  ALLEGRO_BITMAP* text = text_bitmap_default("Hi");
  ASSERT_NE(text, nullptr);
  draw_text("Hi", 10.7, 5.9, 0, 0);
  EXPECT_TRUE(frame_shows_text_at(text, 10, 5));

  al_clear_to_color(black);
  draw_text("Hi", -0.5, 0, 0, 0);
  EXPECT_TRUE(frame_shows_text_at(text, 0, 0));
}

TEST_F(DrawByNameTest, AnchorsPlaceTheTextAroundThePoint) {
  ALLEGRO_BITMAP* text = text_bitmap_default("Hi");
  ASSERT_NE(text, nullptr);
  const int w = al_get_bitmap_width(text), h = al_get_bitmap_height(text);
  draw_text("Hi", 50, 30, 0.5, 0.5);
  EXPECT_TRUE(frame_shows_text_at(text, std::trunc(50 - w * 0.5f), std::trunc(30 - h * 0.5f)));

  al_clear_to_color(black);
  draw_text_with_font(font_name, -20, "Hi", 90, 0, 1, 0);  // top-right corner on the point
  EXPECT_TRUE(frame_shows_text_at(text, 90 - w, 0));
}

TEST_F(DrawByNameTest, MissingFontDrawsInTheDefaultFontAndNullDrawsNothing) {
  draw_text_with_font("data/fonts/no_such.ttf", -20, "Hi", 0, 0, 0, 0);  // no default font either
  EXPECT_TRUE(same(at(5, 5), black));
  EXPECT_EQ(fonts_bin.missing_count(), 1);

  default_font = fonts_bin.get_font(font_name, -20);
  draw_text_with_font("data/fonts/no_such.ttf", -40, "Hi", 0, 0, 0, 0);
  EXPECT_TRUE(frame_shows_text_at(text_bitmap_default("Hi"), 0, 0));

  al_destroy_bitmap(missing_image);
  missing_image = nullptr;
  EXPECT_TRUE(draw_bitmap("data/images/no_such.png", 0, 0, 0, 1, 0));
}

using overlay_lines = std::array<std::string, 4>;

TEST_F(DrawByNameTest, OverlayLinesCountBinsAndObjects) {
  ASSERT_EQ(object_registry.count(), 0);
  EXPECT_EQ(resource_overlay_lines(object_registry.count()), (overlay_lines{"Graphics Bin: 0 (0 missing)", "Objects Bin: 0",
                                                     "Fonts Bin: 0 (0 missing, 0 rendered in cache)",
                                                     "Samples Bin: 0 (0 missing)"}));

  graphics_bin.loaded["a.png"] = missing_image;
  graphics_bin.get("data/images/no_such.png");        // raises both image numbers
  fonts_bin.get_font("data/fonts/no_such.ttf", -20);  // raises only the missing fonts
  fonts_bin.text_cache[text_key{nullptr, "x"}] = nullptr;
  samples_bin.get("data/sounds/no_such.wav", "data/sounds/no_such.wav");  // raises both sample numbers
  Object first, second;
  EXPECT_EQ(resource_overlay_lines(object_registry.count()), (overlay_lines{"Graphics Bin: 2 (1 missing)", "Objects Bin: 2",
                                                     "Fonts Bin: 0 (1 missing, 1 rendered in cache)",
                                                     "Samples Bin: 1 (1 missing)"}));
}

TEST_F(DrawByNameTest, OverlayDrawsBelowRow30AndAddsNothingToTheCache) {
  draw_resource_overlay(0);  // no default font: nothing to draw with
  default_font = fonts_bin.get_font(font_name, -20);
  for (int frame_number = 0; frame_number < 3; ++frame_number) draw_resource_overlay(0);
  EXPECT_EQ(fonts_bin.text_cache_count(), 0);

  int rows_with_ink = 0;
  for (int y = 0; y < 60; ++y) {
    bool ink = false;
    for (int x = 0; x < 100 && !ink; ++x) ink = at(x, y).r > 0;
    if (!ink) continue;
    EXPECT_GE(y, 30);
    ++rows_with_ink;
  }
  EXPECT_GT(rows_with_ink, 10);
}

}  // namespace
