#pragma once

#include <allegro5/allegro.h>

namespace tank {

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
