#pragma once

#include <allegro5/allegro.h>

namespace tank {

// The flags that filter a bitmap where it is drawn scaled, turned or between
// whole pixels; drawn unscaled at whole pixels, they change no pixel.
constexpr int linear_filtering = ALLEGRO_MIN_LINEAR | ALLEGRO_MAG_LINEAR;

// `flags` with linear filtering on or off.
constexpr int with_filtering(int flags, bool filtered) {
  return filtered ? flags | linear_filtering : flags & ~linear_filtering;
}

// Bitmaps created (or loaded) during this object's lifetime get `flags`; the
// new-bitmap flags in force before come back afterwards.
struct new_bitmap_flags_in_scope {
  ALLEGRO_STATE saved{};

  explicit new_bitmap_flags_in_scope(int flags) {
    al_store_state(&saved, ALLEGRO_STATE_NEW_BITMAP_PARAMETERS);
    al_set_new_bitmap_flags(flags);
  }
  ~new_bitmap_flags_in_scope() { al_restore_state(&saved); }
  new_bitmap_flags_in_scope(const new_bitmap_flags_in_scope&) = delete;
  new_bitmap_flags_in_scope& operator=(const new_bitmap_flags_in_scope&) = delete;
};

}  // namespace tank
