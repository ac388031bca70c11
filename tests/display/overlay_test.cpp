// A large overlay drawn by the real renderer as the parts around its clear
// middle: the same pixels as the whole image drawn over the same picture.
#include <allegro5/allegro.h>
#include <allegro5/allegro_image.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>

#include <tank/resources/graphics_bin.hpp>

#include "tests/support/bitmaps.hpp"

using namespace tank;

namespace {

const std::string vignette = "data/images/vignette2.png";

class OverlayTest : public ::testing::Test {
 protected:
  static inline ALLEGRO_DISPLAY* display = nullptr;
  // Noise in every channel, so that any pixel drawn differently shows.
  static inline owned_bitmap picture;

  static void SetUpTestSuite() {
    al_install_system(ALLEGRO_VERSION_INT, nullptr);
    al_init_image_addon();
    display = al_create_display(800, 600);
    al_set_new_bitmap_flags(ALLEGRO_MEMORY_BITMAP);
    owned_bitmap noise(al_create_bitmap(800, 600));
    al_set_new_bitmap_flags(0);
    ALLEGRO_LOCKED_REGION* region =
        al_lock_bitmap(noise.get(), ALLEGRO_PIXEL_FORMAT_ABGR_8888_LE, ALLEGRO_LOCK_WRITEONLY);
    std::uint32_t state = 88172645u;
    for (int y = 0; y < 600; ++y) {
      auto* row = static_cast<std::uint8_t*>(region->data) + y * region->pitch;
      for (int x = 0; x < 800; ++x) {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        std::memcpy(row + 4 * x, &state, 4);
      }
    }
    al_unlock_bitmap(noise.get());
    picture.reset(al_clone_bitmap(noise.get()));
  }
  static void TearDownTestSuite() {
    picture.reset();
    graphics_bin = {};
    al_uninstall_system();
  }

  void SetUp() override { ASSERT_NE(display, nullptr) << "needs a display"; }

  // The picture with `draw` done over it under the blender, read back.
  template <typename Draw>
  static owned_bitmap drawn_over_picture(int source, int destination, Draw draw) {
    const owned_bitmap target(al_clone_bitmap(picture.get()));
    al_set_target_bitmap(target.get());
    al_set_blender(ALLEGRO_ADD, source, destination);
    draw();
    al_set_blender(ALLEGRO_ADD, ALLEGRO_ALPHA, ALLEGRO_INVERSE_ALPHA);
    al_set_new_bitmap_flags(ALLEGRO_MEMORY_BITMAP);
    owned_bitmap read_back(al_clone_bitmap(target.get()));
    al_set_new_bitmap_flags(0);
    al_set_target_backbuffer(display);
    return read_back;
  }
};

TEST_F(OverlayTest, TheVignetteWithoutItsClearMiddleDrawsThePixelsOfTheWholeImage) {
  ASSERT_NE(get_bitmap(vignette), nullptr);
  // The frame's own place, and placements between pixels, where filtering
  // reaches into the middle. Then a blender under which a clear pixel is not
  // nothing (ONE, ALPHA blackens the target): there the whole image is drawn.
  struct placement {
    float x, y;
    int source, destination;
  };
  for (const placement& p : {placement{0, 0, ALLEGRO_ALPHA, ALLEGRO_INVERSE_ALPHA},
                             placement{0.5f, 0.25f, ALLEGRO_ALPHA, ALLEGRO_INVERSE_ALPHA},
                             placement{-3.5f, 7.75f, ALLEGRO_ALPHA, ALLEGRO_ONE},
                             placement{0, 0, ALLEGRO_ONE, ALLEGRO_ALPHA}}) {
    const owned_bitmap whole =
        drawn_over_picture(p.source, p.destination, [&] { draw_bitmap(vignette, p.x, p.y, 0.0f, 1.0f, 0.0f); });
    const owned_bitmap parts = drawn_over_picture(p.source, p.destination, [&] { draw_overlay(vignette, p.x, p.y); });
    EXPECT_EQ(differing_pixels(whole.get(), parts.get(), 0.0f).size(), 0u)
        << p.x << ", " << p.y << " blender " << p.source << ", " << p.destination;
  }

  // And the middle is worth leaving out: nearly a third of the image.
  int drawn = 0;
  for (const image_rect& part : graphics_bin.overlays.at(vignette).parts) drawn += part.w * part.h;
  EXPECT_LT(drawn, 800 * 600 * 3 / 4);
}

}  // namespace
