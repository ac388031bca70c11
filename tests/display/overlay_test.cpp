// A large overlay drawn by the real renderer as the parts around its clear
// middle: the same pixels as the whole image drawn over the same picture.
#include <allegro5/allegro.h>
#include <allegro5/allegro_image.h>
#include <gtest/gtest.h>

#include <tank/resources/graphics_bin.hpp>

#include "tests/support/bitmaps.hpp"

using namespace tank;

namespace {

const char* const vignette = "data/images/vignette2.png";

// Noise with `draw` done over it under the blender, read back.
template <typename Draw>
owned_bitmap drawn_over_noise(int source, int destination, Draw draw) {
  const owned_bitmap target(noise_bitmap(800, 600, 88172645u));
  al_set_target_bitmap(target.get());
  al_set_blender(ALLEGRO_ADD, source, destination);
  draw();
  return memory_copy(target.get());
}

TEST(Overlay, TheVignetteWithoutItsClearMiddleDrawsThePixelsOfTheWholeImage) {
  al_install_system(ALLEGRO_VERSION_INT, nullptr);
  al_init_image_addon();
  ASSERT_NE(al_create_display(800, 600), nullptr) << "needs a display";
  ASSERT_NE(get_bitmap(vignette), nullptr);
  // The frame's own place, places between pixels where filtering reaches
  // into the middle, and a blender under which a clear pixel is not nothing
  // (ONE, ALPHA blackens the target), where the whole image is drawn.
  struct case_ {
    float x, y;
    int source, destination;
  };
  for (const case_& c : {case_{0, 0, ALLEGRO_ALPHA, ALLEGRO_INVERSE_ALPHA},
                         case_{0.5f, 0.25f, ALLEGRO_ALPHA, ALLEGRO_INVERSE_ALPHA},
                         case_{-3.5f, 7.75f, ALLEGRO_ALPHA, ALLEGRO_ONE}, case_{0, 0, ALLEGRO_ONE, ALLEGRO_ALPHA}}) {
    const owned_bitmap whole =
        drawn_over_noise(c.source, c.destination, [&] { draw_bitmap(vignette, c.x, c.y, 0.0f, 1.0f, 0.0f); });
    const owned_bitmap parts = drawn_over_noise(c.source, c.destination, [&] { draw_overlay(vignette, c.x, c.y); });
    EXPECT_EQ(differing_pixels(whole.get(), parts.get(), 0.0f).size(), 0u) << c.x << ", " << c.y << ", " << c.source;
  }
  // At whole pixels the copy without filtering was drawn, with the same pixels.
  EXPECT_NE(graphics_bin.overlays.at(vignette).unfiltered, nullptr);
  // And the middle is worth leaving out: nearly a third of the image.
  int drawn = 0;
  for (const image_rect& part : graphics_bin.overlays.at(vignette).parts) drawn += part.w * part.h;
  EXPECT_LT(drawn, 800 * 600 * 3 / 4);
}

}  // namespace
