// The frame's copy to the window, read back from the back buffer before the
// flip. However it is copied (a framebuffer blit, a plain draw, a filtered
// draw when scaled), the window must show what the filtered frame drawn over
// it always showed.
#include <allegro5/allegro.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

#include <tank/shell/frame_copy.hpp>

#include "tests/support/bitmaps.hpp"

using namespace tank;

namespace {

constexpr int frame_width = 800;
constexpr int frame_height = 600;
constexpr int linear = ALLEGRO_MIN_LINEAR | ALLEGRO_MAG_LINEAR;

class FrameCopyTest : public ::testing::Test {
 protected:
  static inline ALLEGRO_DISPLAY* display = nullptr;
  // Noise in every channel, alpha included: a row or column out of place, a
  // flip or a filter shows at once.
  static inline owned_bitmap noise;

  static void SetUpTestSuite() {
    al_install_system(ALLEGRO_VERSION_INT, nullptr);
    display = al_create_display(frame_width, frame_height);
    al_set_new_bitmap_flags(ALLEGRO_MEMORY_BITMAP);
    noise.reset(al_create_bitmap(frame_width, frame_height));
    al_set_new_bitmap_flags(0);
    ALLEGRO_LOCKED_REGION* region =
        al_lock_bitmap(noise.get(), ALLEGRO_PIXEL_FORMAT_ABGR_8888_LE, ALLEGRO_LOCK_WRITEONLY);
    std::uint32_t state = 2463534242u;
    for (int y = 0; y < frame_height; ++y) {
      auto* row = static_cast<std::uint8_t*>(region->data) + y * region->pitch;
      for (int x = 0; x < frame_width; ++x) {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        std::memcpy(row + 4 * x, &state, 4);
      }
    }
    al_unlock_bitmap(noise.get());
  }
  static void TearDownTestSuite() {
    noise.reset();
    al_uninstall_system();
  }

  void SetUp() override { ASSERT_NE(display, nullptr) << "needs a display"; }

  // The noise as a video bitmap with the given new-bitmap flags.
  static owned_bitmap frame_with_flags(int flags) {
    al_set_new_bitmap_flags(flags);
    owned_bitmap frame(al_clone_bitmap(noise.get()));
    al_set_new_bitmap_flags(0);
    return frame;
  }

  static void resize_window(int width, int height) {
    // The library reports a resize to the same size as failed: none happens.
    if (al_get_display_width(display) != width || al_get_display_height(display) != height) {
      ASSERT_TRUE(al_resize_display(display, width, height));
    }
    // The renderer takes up the window's new size only a frame or two later;
    // until then part of the back buffer is left out of drawing.
    al_set_target_backbuffer(display);
    for (int i = 0; i < 2; ++i) al_flip_display();
    ASSERT_EQ(al_get_display_width(display), width);
    ASSERT_EQ(al_get_display_height(display), height);
  }

  // The back buffer as it is now, in memory.
  static owned_bitmap window_pixels() {
    al_set_new_bitmap_flags(ALLEGRO_MEMORY_BITMAP);
    owned_bitmap copy(al_clone_bitmap(al_get_backbuffer(display)));
    al_set_new_bitmap_flags(0);
    return copy;
  }

  // The copy as it always was: the frame filtered from its creation on,
  // drawn opaquely unscaled or scaled to fit between black bars.
  static owned_bitmap window_as_before() {
    const owned_bitmap filtered = frame_with_flags(linear);
    al_set_target_backbuffer(display);
    al_clear_to_color(al_map_rgb(255, 0, 255));
    const frame_layout layout =
        fit_frame(frame_width, frame_height, al_get_display_width(display), al_get_display_height(display));
    al_set_blender(ALLEGRO_ADD, ALLEGRO_ONE, ALLEGRO_ZERO);
    if (layout.is_unscaled(frame_width, frame_height)) {
      al_draw_bitmap(filtered.get(), 0, 0, 0);
    } else {
      al_clear_to_color(al_map_rgb(0, 0, 0));
      al_draw_scaled_bitmap(filtered.get(), 0, 0, frame_width, frame_height, static_cast<float>(layout.left),
                            static_cast<float>(layout.top), static_cast<float>(layout.width),
                            static_cast<float>(layout.height), 0);
    }
    al_set_blender(ALLEGRO_ADD, ALLEGRO_ALPHA, ALLEGRO_INVERSE_ALPHA);
    return window_pixels();
  }

  // Scribbles over the back buffer, so that nothing left from the reference
  // passes for the copy.
  static void spoil_window() {
    al_set_target_backbuffer(display);
    al_clear_to_color(al_map_rgb(255, 0, 255));
  }

  static int differences(const owned_bitmap& a, const owned_bitmap& b) {
    return static_cast<int>(differing_pixels(a.get(), b.get(), 0.0f).size());
  }
};

TEST_F(FrameCopyTest, UnscaledTheBlitAndThePlainDrawShowThePixelsOfBefore) {
  resize_window(frame_width, frame_height);
  const owned_bitmap before = window_as_before();
  const owned_bitmap frame = frame_with_flags(0);

  spoil_window();
  copy_frame_to_window(frame.get());
  EXPECT_EQ(al_get_bitmap_flags(frame.get()) & linear, 0) << "unscaled, the frame is not filtered";
  EXPECT_EQ(differences(before, window_pixels()), 0);

  // Both ways on their own: the blit this OpenGL display has, and the draw
  // that stands in for it elsewhere.
  spoil_window();
  ASSERT_TRUE(blit_frame(frame.get(), 0, 0)) << "an OpenGL display without framebuffer blits";
  EXPECT_EQ(differences(before, window_pixels()), 0);
  spoil_window();
  draw_frame_copy(frame.get(), fit_frame(frame_width, frame_height, frame_width, frame_height));
  EXPECT_EQ(differences(before, window_pixels()), 0);
}

TEST_F(FrameCopyTest, ScaledTheFrameIsFilteredAndUnscaledAgainNoLonger) {
  const owned_bitmap frame = frame_with_flags(0);
  ALLEGRO_BITMAP* const address = frame.get();
  // Bars left and right, then bars above and below the unscaled frame (a
  // blit that is not at the window's corner), then the window's own size.
  for (const auto& [width, height] : {std::pair{1000, 700}, std::pair{800, 650}, std::pair{frame_width, frame_height}}) {
    resize_window(width, height);
    const owned_bitmap before = window_as_before();
    spoil_window();
    copy_frame_to_window(frame.get());
    EXPECT_EQ(differences(before, window_pixels()), 0) << width << " x " << height;
    const bool scaled = width == 1000;
    EXPECT_EQ((al_get_bitmap_flags(frame.get()) & linear) == linear, scaled) << width << " x " << height;
  }
  EXPECT_EQ(frame.get(), address);
}

}  // namespace
