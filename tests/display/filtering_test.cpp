// Sprites drawn scaled by the real renderer: the memory-bitmap blitter that
// the unit tests draw with never filters, so these run in a window on a
// virtual X server.
#include <allegro5/allegro.h>
#include <allegro5/allegro_image.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include <tank/resources/resource_kinds.hpp>

namespace {

const ALLEGRO_COLOR background = al_map_rgb(119, 136, 153);

int level(float channel) { return static_cast<int>(std::lround(channel * 255)); }
float brightness(ALLEGRO_COLOR c) { return c.r + c.g + c.b; }

class FilteringTest : public ::testing::Test {
 protected:
  static inline ALLEGRO_DISPLAY* display = nullptr;
  ALLEGRO_BITMAP* frame = nullptr;

  static void SetUpTestSuite() {
    al_install_system(ALLEGRO_VERSION_INT, nullptr);
    al_init_image_addon();
    display = al_create_display(400, 600);
  }
  static void TearDownTestSuite() { al_uninstall_system(); }

  void SetUp() override {
    ASSERT_NE(display, nullptr) << "needs a display";
    frame = al_create_bitmap(400, 600);
    al_set_target_bitmap(frame);
    al_clear_to_color(background);
    al_set_blender(ALLEGRO_ADD, ALLEGRO_ALPHA, ALLEGRO_INVERSE_ALPHA);
  }
  void TearDown() override {
    al_set_target_backbuffer(display);
    al_destroy_bitmap(frame);
  }

  // The largest change of any channel between neighbouring pixels of the
  // region, across and down.
  int largest_step(int x0, int y0, int x1, int y1) const {
    ALLEGRO_BITMAP* copy = al_clone_bitmap(frame);  // read back once
    al_lock_bitmap(copy, ALLEGRO_PIXEL_FORMAT_ANY, ALLEGRO_LOCK_READONLY);
    int step = 0;
    for (int y = y0; y < y1; ++y) {
      for (int x = x0; x < x1; ++x) {
        const ALLEGRO_COLOR c = al_get_pixel(copy, x, y);
        for (const ALLEGRO_COLOR n : {al_get_pixel(copy, x + 1, y), al_get_pixel(copy, x, y + 1)}) {
          step = std::max({step, std::abs(level(c.r) - level(n.r)), std::abs(level(c.g) - level(n.g)),
                           std::abs(level(c.b) - level(n.b))});
        }
      }
    }
    al_destroy_bitmap(copy);
    return step;
  }
};

TEST_F(FilteringTest, AnEnemyAtTwentyTimesItsSizeIsSmooth) {
  ALLEGRO_BITMAP* enemy = load_image("data/images/enemy_bullet.png");
  ASSERT_NE(enemy, nullptr);
  al_draw_scaled_rotated_bitmap(enemy, 10, 14, 200, 300, 20, 20, 0, 0);
  // Unfiltered, one image pixel is a 20 x 20 block and the steps between
  // blocks run to a hundred levels and more.
  EXPECT_LE(largest_step(20, 20, 380, 580), 16);
  al_destroy_bitmap(enemy);
}

TEST_F(FilteringTest, FilteredEdgesAreNoDarkerThanWithBlackAroundTheSprite) {
  for (const char* name : {"data/images/enemy_bullet.png", "data/images/bullet.png", "data/images/tank.png"}) {
    ALLEGRO_BITMAP* sprite = load_image(name);
    ASSERT_NE(sprite, nullptr) << name;
    // The same sprite as it would be with nothing bled into its transparent
    // pixels: black there. A clone takes the new-bitmap flags, not the
    // sprite's.
    al_set_new_bitmap_flags(al_get_bitmap_flags(sprite));
    ALLEGRO_BITMAP* unbled = al_clone_bitmap(sprite);
    al_set_new_bitmap_flags(0);
    al_set_target_bitmap(unbled);
    al_lock_bitmap(unbled, ALLEGRO_PIXEL_FORMAT_ANY, ALLEGRO_LOCK_READWRITE);
    for (int y = 0; y < al_get_bitmap_height(unbled); ++y) {
      for (int x = 0; x < al_get_bitmap_width(unbled); ++x) {
        if (al_get_pixel(unbled, x, y).a == 0) al_put_pixel(x, y, al_map_rgba(0, 0, 0, 0));
      }
    }
    al_unlock_bitmap(unbled);
    al_set_target_bitmap(frame);

    // Half-pixel positions and a turn, so that filtering mixes edge pixels
    // with their transparent neighbours.
    al_draw_scaled_rotated_bitmap(sprite, 0, 0, 60.5f, 60.5f, 1.5f, 1.5f, 0.3f, 0);
    al_draw_scaled_rotated_bitmap(unbled, 0, 0, 260.5f, 60.5f, 1.5f, 1.5f, 0.3f, 0);
    ALLEGRO_BITMAP* copy = al_clone_bitmap(frame);
    al_lock_bitmap(copy, ALLEGRO_PIXEL_FORMAT_ANY, ALLEGRO_LOCK_READONLY);
    int darker = 0;
    int brighter = 0;
    for (int y = 0; y < 400; ++y) {
      for (int x = 0; x < 200; ++x) {
        const float difference = brightness(al_get_pixel(copy, x, y)) - brightness(al_get_pixel(copy, x + 200, y));
        darker += difference < -3.0f / 255;
        brighter += difference > 3.0f / 255;
      }
    }
    EXPECT_EQ(darker, 0) << name;
    EXPECT_GT(brighter, 0) << name << ": nothing bled into the transparent pixels";
    al_destroy_bitmap(copy);
    al_destroy_bitmap(unbled);
    al_destroy_bitmap(sprite);
    al_clear_to_color(background);
  }
}

}  // namespace
