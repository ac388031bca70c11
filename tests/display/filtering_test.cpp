// Sprites drawn scaled by the real renderer: the memory-bitmap blitter that
// the unit tests draw with never filters, so these run in a window on a
// virtual X server.
#include <allegro5/allegro.h>
#include <allegro5/allegro_image.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include <tank/resources/resource_kinds.hpp>

#include "tests/support/bitmaps.hpp"

using namespace tank;

namespace {

int level(float channel) { return static_cast<int>(std::lround(channel * 255)); }
float brightness(ALLEGRO_COLOR c) { return c.r + c.g + c.b; }

class FilteringTest : public ::testing::Test {
 protected:
  static inline ALLEGRO_DISPLAY* display = nullptr;
  owned_bitmap frame;

  static void SetUpTestSuite() {
    al_install_system(ALLEGRO_VERSION_INT, nullptr);
    al_init_image_addon();
    display = al_create_display(400, 600);
  }
  static void TearDownTestSuite() { al_uninstall_system(); }

  void SetUp() override {
    ASSERT_NE(display, nullptr) << "needs a display";
    frame.reset(al_create_bitmap(400, 600));
    al_set_target_bitmap(frame.get());
    al_clear_to_color(al_map_rgb(119, 136, 153));
    al_set_blender(ALLEGRO_ADD, ALLEGRO_ALPHA, ALLEGRO_INVERSE_ALPHA);
  }
  void TearDown() override { al_set_target_backbuffer(display); }

  // What the renderer drew, read back once into memory.
  owned_bitmap drawn() const {
    al_set_new_bitmap_flags(ALLEGRO_MEMORY_BITMAP);
    owned_bitmap copy(al_clone_bitmap(frame.get()));
    al_set_new_bitmap_flags(0);
    return copy;
  }
};

TEST_F(FilteringTest, AnEnemyAtTwentyTimesItsSizeIsSmooth) {
  const owned_bitmap enemy(load_image("data/images/enemy_bullet.png"));
  ASSERT_NE(enemy, nullptr);
  al_draw_scaled_rotated_bitmap(enemy.get(), 10, 14, 200, 300, 20, 20, 0, 0);
  // Unfiltered, one image pixel is a 20 x 20 block, and the steps between
  // blocks run to a hundred levels and more.
  const owned_bitmap image = drawn();
  int step = 0;
  for (int y = 20; y < 580; ++y) {
    for (int x = 20; x < 380; ++x) {
      const ALLEGRO_COLOR c = al_get_pixel(image.get(), x, y);
      for (const ALLEGRO_COLOR n : {al_get_pixel(image.get(), x + 1, y), al_get_pixel(image.get(), x, y + 1)}) {
        step = std::max({step, std::abs(level(c.r) - level(n.r)), std::abs(level(c.g) - level(n.g)),
                         std::abs(level(c.b) - level(n.b))});
      }
    }
  }
  EXPECT_LE(step, 16);
}

// Filtering mixes a sprite's edge with its transparent neighbours. Those
// carry the sprite's own colours, so an edge is never darker than it would be
// with black around the sprite, and somewhere lighter.
TEST_F(FilteringTest, FilteredEdgesAreNoDarkerThanWithBlackAroundTheSprite) {
  for (const char* name : {"data/images/enemy_bullet.png", "data/images/bullet.png", "data/images/tank.png"}) {
    const owned_bitmap sprite(load_image(name));
    ASSERT_NE(sprite, nullptr) << name;
    al_set_new_bitmap_flags(al_get_bitmap_flags(sprite.get()));  // a clone takes these, not the sprite's
    const owned_bitmap unbled(al_clone_bitmap(sprite.get()));
    al_set_new_bitmap_flags(0);
    al_set_target_bitmap(unbled.get());
    al_lock_bitmap(unbled.get(), ALLEGRO_PIXEL_FORMAT_ANY, ALLEGRO_LOCK_READWRITE);
    for (int y = 0; y < al_get_bitmap_height(unbled.get()); ++y) {
      for (int x = 0; x < al_get_bitmap_width(unbled.get()); ++x) {
        if (al_get_pixel(unbled.get(), x, y).a == 0) al_put_pixel(x, y, al_map_rgba(0, 0, 0, 0));
      }
    }
    al_unlock_bitmap(unbled.get());

    // Half-pixel positions and a turn, 200 pixels apart.
    al_set_target_bitmap(frame.get());
    al_draw_scaled_rotated_bitmap(sprite.get(), 0, 0, 60.5f, 60.5f, 1.5f, 1.5f, 0.3f, 0);
    al_draw_scaled_rotated_bitmap(unbled.get(), 0, 0, 260.5f, 60.5f, 1.5f, 1.5f, 0.3f, 0);
    const owned_bitmap image = drawn();
    int darker = 0;
    int lighter = 0;
    for (int y = 0; y < 400; ++y) {
      for (int x = 0; x < 200; ++x) {
        const float d = brightness(al_get_pixel(image.get(), x, y)) - brightness(al_get_pixel(image.get(), x + 200, y));
        darker += d < -3.0f / 255;
        lighter += d > 3.0f / 255;
      }
    }
    EXPECT_EQ(darker, 0) << name;
    EXPECT_GT(lighter, 0) << name << ": nothing bled into the transparent pixels";
    al_clear_to_color(al_map_rgb(119, 136, 153));
  }
}

}  // namespace
