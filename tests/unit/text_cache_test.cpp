#include <allegro5/allegro.h>
#include <allegro5/allegro_font.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>

#include <tank/resources/font_bin.hpp>
#include <tank/resources/resource_kinds.hpp>
#include <tank/resources/to_text.hpp>

#include "tests/support/bitmaps.hpp"
#include "tests/support/library.hpp"
#include "tests/support/resident_memory.hpp"

using namespace tank;

namespace {

const char* const system_font = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";

// Whether every pixel of a bitmap has the colour (r, g, b), and the range of
// its alpha.
struct pixel_survey {
  bool uniform_colour = true;
  float min_alpha = 1, max_alpha = 0;
};

pixel_survey survey(ALLEGRO_BITMAP* bitmap, float r, float g, float b) {
  pixel_survey result;
  for (int y = 0; y < al_get_bitmap_height(bitmap); ++y) {
    for (int x = 0; x < al_get_bitmap_width(bitmap); ++x) {
      const ALLEGRO_COLOR c = al_get_pixel(bitmap, x, y);
      result.uniform_colour = result.uniform_colour && c.r == r && c.g == g && c.b == b;
      result.min_alpha = std::min(result.min_alpha, c.a);
      result.max_alpha = std::max(result.max_alpha, c.a);
    }
  }
  return result;
}

class TextCacheTest : public ::testing::Test {
 protected:
  static inline ALLEGRO_FONT* font = nullptr;
  font_bin_class bin;

  static void SetUpTestSuite() {
    ASSERT_TRUE(start_headless_library());
    font = load_font(std::filesystem::exists("data/lacuna.ttf") ? "data/lacuna.ttf" : system_font, -20);
  }
  static void TearDownTestSuite() { al_uninstall_system(); }
  void SetUp() override { ASSERT_NE(font, nullptr); }
};

TEST_F(TextCacheTest, RendersOncePerFontAndText) {
  ALLEGRO_BITMAP* first = bin.get_text_bitmap(font, "Energy");
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(bin.get_text_bitmap(font, "Energy"), first);
  EXPECT_EQ(bin.text_cache_count(), 1);

  ALLEGRO_FONT* other = load_font(system_font, -30);
  ALLEGRO_BITMAP* second = bin.get_text_bitmap(other, "Energy");
  EXPECT_NE(second, first);
  EXPECT_EQ(bin.text_cache_count(), 2);
  destroy_resource(other);
}

TEST_F(TextCacheTest, EmptyTextIsNullAndAddsNothing) {
  EXPECT_EQ(bin.get_text_bitmap(font, ""), nullptr);
  EXPECT_EQ(bin.create_text_bitmap(font, ""), nullptr);
  EXPECT_EQ(bin.text_bitmap("data/no_such_font.ttf", -20, ""), nullptr);
  EXPECT_EQ(bin.text_cache_count(), 0);
  EXPECT_EQ(bin.count(true), 0);  // not even the font was asked for
}

TEST_F(TextCacheTest, RenderedTextIsWhiteWithTheTextInAlpha) {
  ALLEGRO_BITMAP* bitmap = bin.get_text_bitmap(font, "Hq");
  ASSERT_NE(bitmap, nullptr);
  EXPECT_EQ(al_get_bitmap_width(bitmap), al_get_text_width(font, "Hq"));
  EXPECT_EQ(al_get_bitmap_height(bitmap), al_get_font_line_height(font));
  const pixel_survey white = survey(bitmap, 1, 1, 1);
  EXPECT_TRUE(white.uniform_colour);
  EXPECT_EQ(white.min_alpha, 0);
  EXPECT_EQ(white.max_alpha, 1);

  ALLEGRO_BITMAP* red = bin.render_text(font, "Hq", al_map_rgba_f(1, 0, 0, 0.5));
  const pixel_survey half_red = survey(red, 1, 0, 0);
  EXPECT_TRUE(half_red.uniform_colour);
  EXPECT_NEAR(half_red.max_alpha, 0.5, 1.0 / 255);
  EXPECT_EQ(bin.text_cache_count(), 1);  // render_text stores nothing
  al_destroy_bitmap(red);
}

// "TA" and "Wg" are kerned: their glyphs overlap, and neither may erase the other.
TEST_F(TextCacheTest, RenderedTextDrawsWhatTheFontDrawsDirectly) {
  ALLEGRO_BITMAP* text = bin.render_text(font, "TANK 42 Wg", al_map_rgba_f(1, 1, 1, 1));
  ASSERT_NE(text, nullptr);
  EXPECT_TRUE(al_get_bitmap_flags(text) & ALLEGRO_MEMORY_BITMAP);  // the kind in force here
  ALLEGRO_BITMAP* direct = filled_bitmap(al_get_bitmap_width(text), al_get_bitmap_height(text), al_map_rgb(30, 60, 90));
  ALLEGRO_BITMAP* via_text = al_clone_bitmap(direct);
  al_set_blender(ALLEGRO_ADD, ALLEGRO_ALPHA, ALLEGRO_INVERSE_ALPHA);
  const ALLEGRO_COLOR tint = al_map_rgba_f(1, 0.5f, 0.25f, 1);
  al_set_target_bitmap(direct);
  al_draw_text(font, tint, 0, 0, 0, "TANK 42 Wg");
  al_set_target_bitmap(via_text);
  al_draw_tinted_bitmap(text, tint, 0, 0, 0);
  EXPECT_TRUE(differing_pixels(direct, via_text, 1.0f / 255).empty());
  al_set_target_bitmap(nullptr);
  for (ALLEGRO_BITMAP* bitmap : {text, direct, via_text}) al_destroy_bitmap(bitmap);
}

TEST_F(TextCacheTest, RenderLeavesTargetBlenderAndBlendColourAsFound) {
  ALLEGRO_BITMAP* target = al_create_bitmap(4, 4);
  al_set_target_bitmap(target);
  al_set_separate_blender(ALLEGRO_DEST_MINUS_SRC, ALLEGRO_ALPHA, ALLEGRO_INVERSE_ALPHA,
                          ALLEGRO_SRC_MINUS_DEST, ALLEGRO_DEST_COLOR, ALLEGRO_CONST_COLOR);
  al_set_blend_color(al_map_rgba_f(0.25, 0.5, 0.75, 0.125));

  for (const char* text : {"Energy", "\u200B"}) {  // rendered, and a text of no width
    ALLEGRO_BITMAP* bitmap = bin.render_text(font, text, al_map_rgba_f(1, 1, 1, 1));
    EXPECT_EQ(al_get_target_bitmap(), target);
    int op, src, dst, alpha_op, alpha_src, alpha_dst;
    al_get_separate_blender(&op, &src, &dst, &alpha_op, &alpha_src, &alpha_dst);
    EXPECT_EQ(op, ALLEGRO_DEST_MINUS_SRC);
    EXPECT_EQ(src, ALLEGRO_ALPHA);
    EXPECT_EQ(dst, ALLEGRO_INVERSE_ALPHA);
    EXPECT_EQ(alpha_op, ALLEGRO_SRC_MINUS_DEST);
    EXPECT_EQ(alpha_src, ALLEGRO_DEST_COLOR);
    EXPECT_EQ(alpha_dst, ALLEGRO_CONST_COLOR);
    const ALLEGRO_COLOR blend = al_get_blend_color();
    EXPECT_TRUE(blend.r == 0.25f && blend.g == 0.5f && blend.b == 0.75f && blend.a == 0.125f);
    if (bitmap) al_destroy_bitmap(bitmap);
  }
  al_set_target_bitmap(nullptr);
  al_set_blender(ALLEGRO_ADD, ALLEGRO_ONE, ALLEGRO_INVERSE_ALPHA);
  al_destroy_bitmap(target);
}

TEST_F(TextCacheTest, TextThatCannotBeRenderedIsStoredAsNull) {
  ALLEGRO_FONT* dejavu = load_font(system_font, -20);
  ASSERT_EQ(al_get_text_width(dejavu, "\u200B"), 0);  // the zero-width space
  EXPECT_EQ(bin.get_text_bitmap(dejavu, "\u200B"), nullptr);
  EXPECT_EQ(bin.get_text_bitmap(nullptr, "Energy"), nullptr);
  EXPECT_EQ(bin.text_cache_count(), 2);
  EXPECT_EQ(bin.get_text_bitmap(dejavu, "\u200B"), nullptr);
  EXPECT_EQ(bin.text_cache_count(), 2);
  destroy_resource(dejavu);
}

TEST_F(TextCacheTest, TextBitmapByNameIsTheSameEveryTime) {
  const std::string name = std::filesystem::exists("data/lacuna.ttf") ? "data/lacuna.ttf" : system_font;
  ALLEGRO_BITMAP* bitmap = bin.text_bitmap(name, -24, "TANK");
  ASSERT_NE(bitmap, nullptr);
  EXPECT_EQ(bin.text_bitmap(name, -24, "TANK"), bitmap);
  bin.set_default_font(name, -24);
  EXPECT_EQ(bin.text_bitmap_default("TANK"), bitmap);
  EXPECT_EQ(bin.count(false), 1);
  EXPECT_EQ(bin.text_cache_count(), 1);
  destroy_resource(bin.get_font(name, -24));
}

TEST_F(TextCacheTest, ChangingTextsDrawLikeDrawTextInBoundedMemory) {
  const std::string name = std::filesystem::exists("data/lacuna.ttf") ? "data/lacuna.ttf" : system_font;
  ALLEGRO_BITMAP* cached = al_create_bitmap(120, 40);
  ALLEGRO_BITMAP* changing = al_create_bitmap(120, 40);
  al_set_blender(ALLEGRO_ADD, ALLEGRO_ALPHA, ALLEGRO_INVERSE_ALPHA);
  for (ALLEGRO_BITMAP* frame : {cached, changing}) {
    al_set_target_bitmap(frame);
    al_clear_to_color(al_map_rgb(20, 40, 60));
  }
  al_set_target_bitmap(cached);
  bin.draw_text_with_font(name, -20, "Score 1234", 60.7f, 5.2f, 0.5f, 0.0f);
  al_set_target_bitmap(changing);
  bin.draw_changing_text_with_font(name, -20, "Score 1234", 60.7f, 5.2f, 0.5f, 0.0f);
  EXPECT_TRUE(differing_pixels(cached, changing, 0.0f).empty());

  // A frame time drawn every frame for three minutes.
  const int texts_before = bin.text_cache_count();
  [[maybe_unused]] const long kib_before = resident_kib();
  for (int frame_number = 0; frame_number < 10000; ++frame_number) {
    bin.draw_changing_text_with_font(name, -20, to_text(frame_number) + " ms", 10, 10, 0, 0);
  }
  EXPECT_EQ(bin.text_cache_count(), texts_before);
  EXPECT_LE(bin.changing_texts.size(), font_bin_class::changing_text_capacity);
#ifndef __SANITIZE_ADDRESS__
  // Kept, 10 000 texts would hold some 30 MB. (AddressSanitizer holds freed
  // memory back for a while, so there the figure says nothing.)
  EXPECT_LT(resident_kib() - kib_before, 4096);
#endif
  al_set_target_bitmap(nullptr);
  al_destroy_bitmap(cached);
  al_destroy_bitmap(changing);
}

}  // namespace
