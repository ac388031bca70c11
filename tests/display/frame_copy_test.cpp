// The frame's copy to the window, read back from the back buffer before the
// flip. However it is copied (a framebuffer blit, a plain draw, a filtered
// draw when scaled), the window must show what the filtered frame drawn over
// it always showed.
#include <allegro5/allegro.h>
#include <gtest/gtest.h>

#include <utility>

#include <tank/resources/new_bitmap_flags.hpp>
#include <tank/shell/frame_copy.hpp>

#include "tests/support/bitmaps.hpp"

using namespace tank;

namespace {

owned_bitmap frame_with_flags(int flags) {
  al_set_new_bitmap_flags(flags);
  owned_bitmap frame(noise_bitmap(800, 600, 2463534242u));
  al_set_new_bitmap_flags(0);
  return frame;
}

// The copy as it always was: the frame filtered from its creation on, drawn
// opaquely, unscaled or scaled to fit between black bars.
owned_bitmap window_as_before(ALLEGRO_DISPLAY* display) {
  const owned_bitmap frame = frame_with_flags(linear_filtering);
  const frame_layout layout = fit_frame(800, 600, al_get_display_width(display), al_get_display_height(display));
  al_set_target_backbuffer(display);
  al_set_blender(ALLEGRO_ADD, ALLEGRO_ONE, ALLEGRO_ZERO);
  if (layout.is_unscaled(800, 600)) {
    al_draw_bitmap(frame.get(), 0, 0, 0);
  } else {
    al_clear_to_color(al_map_rgb(0, 0, 0));
    al_draw_scaled_bitmap(frame.get(), 0, 0, 800, 600, static_cast<float>(layout.left), static_cast<float>(layout.top),
                          static_cast<float>(layout.width), static_cast<float>(layout.height), 0);
  }
  al_set_blender(ALLEGRO_ADD, ALLEGRO_ALPHA, ALLEGRO_INVERSE_ALPHA);
  return memory_copy(al_get_backbuffer(display));
}

// The back buffer after `copy`, onto a magenta one, against the copy as before.
template <typename Copy>
std::size_t differences_from_before(ALLEGRO_DISPLAY* display, Copy copy) {
  const owned_bitmap before = window_as_before(display);
  al_clear_to_color(al_map_rgb(255, 0, 255));
  copy();
  return differing_pixels(before.get(), memory_copy(al_get_backbuffer(display)).get(), 0.0f).size();
}

TEST(FrameCopy, EveryWayShowsThePixelsOfBeforeAndTheFrameIsFilteredOnlyWhileScaled) {
  al_install_system(ALLEGRO_VERSION_INT, nullptr);
  ALLEGRO_DISPLAY* display = al_create_display(800, 600);
  ASSERT_NE(display, nullptr) << "needs a display";
  const owned_bitmap frame = frame_with_flags(0);

  // Unscaled, the blit this OpenGL display has and the draw that stands in
  // for it elsewhere, each alone.
  ASSERT_EQ(differences_from_before(display, [&] { ASSERT_TRUE(blit_frame(frame.get(), 0, 0)); }), 0u);
  EXPECT_EQ(differences_from_before(display, [&] { draw_frame_copy(frame.get(), fit_frame(800, 600, 800, 600)); }), 0u);

  // The whole copy with bars left and right, unscaled between bars above and
  // below (a blit off the window's corner, one row more below, so that a
  // place counted from the wrong edge shows), and at the window's own size.
  for (const auto& [width, height] : {std::pair{1000, 700}, std::pair{800, 651}, std::pair{800, 600}}) {
    ASSERT_TRUE(al_resize_display(display, width, height));
    // The renderer takes up the window's new size only a frame or two later;
    // until then part of the back buffer is left out of drawing.
    al_flip_display();
    al_flip_display();
    EXPECT_EQ(differences_from_before(display, [&] { copy_frame_to_window(frame.get()); }), 0u) << width;
    EXPECT_EQ((al_get_bitmap_flags(frame.get()) & linear_filtering) == linear_filtering, width == 1000) << width;
  }
}

}  // namespace
