// The head-up display, drawn headless into the memory frame and read back
// pixel by pixel. Frames are compared with each other, so the art itself
// (and the vignette over it) does not matter, only what changes and where.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include <tank/input/controls.hpp>
#include <tank/resources/font_bin.hpp>
#include <tank/resources/graphics_bin.hpp>

#include "app/config.hpp"
#include "game/world.hpp"
#include "tests/support/bitmaps.hpp"
#include "tests/support/headless_driver.hpp"

using namespace tank;

namespace {

const float tolerance = 1.5f / 255.0f;

struct region {
  int x0 = 0, y0 = 0, x1 = 0, y1 = 0;  // x1, y1 excluded

  bool contains(int x, int y) const { return x >= x0 && x < x1 && y >= y0 && y < y1; }
};

// Where a HUD text of this size lands when drawn with its top-left corner at (x, y).
region text_box(int size, const char* text, int x, int y) {
  ALLEGRO_BITMAP* bitmap = text_bitmap("data/fonts/lacuna.ttf", size, text);
  return {x, y, x + al_get_bitmap_width(bitmap), y + al_get_bitmap_height(bitmap)};
}

struct GameHud : ::testing::Test {
  headless_driver_class& game = shared_driver();
  void SetUp() override { game.reset_game(); }

  // A copy of the frame drawn now: the next drawing overwrites the driver's.
  owned_bitmap draw() {
    game.draw();
    return owned_bitmap(al_clone_bitmap(game.frame));
  }

  // Samples the mouse without running the rules, so nothing else moves.
  void move_mouse(int x, int y) {
    game.input.move_mouse(x, y);
    update_controls();
  }

  static std::vector<pixel_position> differences(const owned_bitmap& a, const owned_bitmap& b) {
    return differing_pixels(a.get(), b.get(), tolerance);
  }
};

// Runs of neighbouring columns that hold at least one of the points.
int column_runs(const std::vector<pixel_position>& points) {
  std::vector<int> columns;
  for (const pixel_position& point : points) columns.push_back(point.x);
  std::sort(columns.begin(), columns.end());
  columns.erase(std::unique(columns.begin(), columns.end()), columns.end());
  int runs = 0;
  for (std::size_t i = 0; i < columns.size(); ++i) runs += (i == 0 || columns[i] != columns[i - 1] + 1);
  return runs;
}

TEST_F(GameHud, EnergyIsARowOfOneDotPerUnitUnderTheLabel) {
  move_mouse(400, 100);
  energy = 0;
  const owned_bitmap none = draw();
  const region dots = text_box(-130, ".....", 30, 460);
  for (int units : {5, 2}) {
    energy = units;
    const auto changed = differences(none, draw());
    ASSERT_FALSE(changed.empty());
    EXPECT_EQ(column_runs(changed), units);
    for (const auto& [x, y] : changed) ASSERT_TRUE(dots.contains(x, y)) << x << ", " << y;
  }

  // At 0 the label stays: its box holds text much lighter than the background.
  const region label = text_box(-40, "Energy", 30, 500);
  int light = 0;
  for (int y = label.y0; y < label.y1; ++y) {
    for (int x = label.x0; x < label.x1; ++x) light += al_get_pixel(none.get(), x, y).g > 0.75f;
  }
  EXPECT_GT(light, 100);
}

TEST_F(GameHud, TheCountOfEnemiesLeftStandsInTheTopLeftCorner) {
  move_mouse(400, 300);
  game.tick();
  EXPECT_EQ(enemies_left, 100) << "counted before the first frame is drawn";
  move_mouse(400, 300);
  const owned_bitmap hundred = draw();
  enemies_left = 1;
  const auto changed = differences(hundred, draw());
  ASSERT_FALSE(changed.empty());
  const region count = text_box(-16, "100", 30, 30);
  for (const auto& [x, y] : changed) ASSERT_TRUE(count.contains(x, y)) << x << ", " << y;
}

TEST_F(GameHud, TheCrosshairIsCentredOnTheMouse) {
  move_mouse(300, 150);
  const owned_bitmap first = draw();
  move_mouse(500, 220);
  const auto changed = differences(first, draw());

  region around_first{300, 150, 300, 150};
  region around_second{500, 220, 500, 220};
  for (const auto& [x, y] : changed) {
    region& box = x < 400 ? around_first : around_second;
    box.x0 = std::min(box.x0, x);
    box.y0 = std::min(box.y0, y);
    box.x1 = std::max(box.x1, x + 1);
    box.y1 = std::max(box.y1, y + 1);
  }
  const int w = al_get_bitmap_width(get_bitmap("data/images/crosshair.png"));
  for (const auto& [box, cx, cy] : {std::tuple{around_first, 300, 150}, std::tuple{around_second, 500, 220}}) {
    EXPECT_LE(box.x1 - box.x0, w) << "nothing but the crosshair changed";
    EXPECT_GT(box.x1 - box.x0, w / 2);
    EXPECT_NEAR((box.x0 + box.x1) / 2.0, cx, 1.0);
    EXPECT_NEAR((box.y0 + box.y1) / 2.0, cy, 1.0);
  }
}

TEST_F(GameHud, TheCrosshairCoversEvenTheFrontmostObject) {
  move_mouse(400, 300);
  const owned_bitmap bare = draw();
  fail_text.opacity_animators.set_value(1.0f);  // the highest depth of all
  fail_text.scale_x_animators.set_value(1.0f);
  fail_text.scale_y_animators.set_value(1.0f);
  const owned_bitmap covered = draw();

  ALLEGRO_BITMAP* crosshair = get_bitmap("data/images/crosshair.png");
  const int w = al_get_bitmap_width(crosshair);
  const int h = al_get_bitmap_height(crosshair);
  int opaque = 0;
  for (int j = 0; j < h; ++j) {
    for (int i = 0; i < w; ++i) {
      if (al_get_pixel(crosshair, i, j).a < 1.0f) continue;
      ++opaque;
      const int x = 400 - w / 2 + i;
      const int y = 300 - h / 2 + j;
      EXPECT_TRUE(rgb_near(al_get_pixel(bare.get(), x, y), al_get_pixel(covered.get(), x, y), tolerance)) << i << ", " << j;
    }
  }
  EXPECT_GT(opaque, 0);
  const region under{400 - w / 2, 300 - h / 2, 400 + w / 2, 300 + h / 2};
  int text_under = 0;
  for (const auto& [x, y] : differences(bare, covered)) text_under += under.contains(x, y);
  EXPECT_GT(text_under, 0) << "the text shows between the crosshair's lines";
}

}  // namespace
