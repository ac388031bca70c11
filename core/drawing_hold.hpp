#pragma once

#include <allegro5/allegro.h>

namespace tank {

// Drawing may be held to batch sprites, and while it is held only bitmaps and
// text may be drawn: the blender and the target may change only between
// batches. This lets go of a hold for its own lifetime and takes it up again
// afterwards; with no hold in force it does nothing.
struct drawing_hold_released {
  const bool was_held = al_is_bitmap_drawing_held();

  drawing_hold_released() {
    if (was_held) al_hold_bitmap_drawing(false);
  }
  ~drawing_hold_released() {
    if (was_held) al_hold_bitmap_drawing(true);
  }
  drawing_hold_released(const drawing_hold_released&) = delete;
  drawing_hold_released& operator=(const drawing_hold_released&) = delete;
};

}  // namespace tank
