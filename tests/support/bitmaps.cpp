#include "tests/support/bitmaps.hpp"

#include <algorithm>
#include <cmath>
#include <cstring>

ALLEGRO_BITMAP* filled_bitmap(int width, int height, ALLEGRO_COLOR color) {
  ALLEGRO_BITMAP* bitmap = al_create_bitmap(width, height);
  ALLEGRO_BITMAP* previous = al_get_target_bitmap();
  al_set_target_bitmap(bitmap);
  al_clear_to_color(color);
  al_set_target_bitmap(previous);
  return bitmap;
}

ALLEGRO_BITMAP* noise_bitmap(int width, int height, std::uint32_t seed) {
  ALLEGRO_BITMAP* bitmap = al_create_bitmap(width, height);
  ALLEGRO_LOCKED_REGION* region = al_lock_bitmap(bitmap, ALLEGRO_PIXEL_FORMAT_ABGR_8888_LE, ALLEGRO_LOCK_WRITEONLY);
  for (int y = 0; y < height; ++y) {
    auto* row = static_cast<std::uint8_t*>(region->data) + y * region->pitch;
    for (int x = 0; x < width; ++x) {
      seed ^= seed << 13;
      seed ^= seed >> 17;
      seed ^= seed << 5;
      std::memcpy(row + 4 * x, &seed, 4);
    }
  }
  al_unlock_bitmap(bitmap);
  return bitmap;
}

owned_bitmap memory_copy(ALLEGRO_BITMAP* bitmap) {
  ALLEGRO_STATE state;
  al_store_state(&state, ALLEGRO_STATE_NEW_BITMAP_PARAMETERS);
  al_set_new_bitmap_flags(ALLEGRO_MEMORY_BITMAP);
  owned_bitmap copy(al_clone_bitmap(bitmap));
  al_restore_state(&state);
  return copy;
}

bool rgb_near(const ALLEGRO_COLOR& a, const ALLEGRO_COLOR& b, float tolerance) {
  return std::fabs(a.r - b.r) <= tolerance && std::fabs(a.g - b.g) <= tolerance &&
         std::fabs(a.b - b.b) <= tolerance;
}

std::vector<pixel_position> differing_pixels(ALLEGRO_BITMAP* a, ALLEGRO_BITMAP* b, float tolerance) {
  std::vector<pixel_position> found;
  const int width = std::min(al_get_bitmap_width(a), al_get_bitmap_width(b));
  const int height = std::min(al_get_bitmap_height(a), al_get_bitmap_height(b));
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      if (!rgb_near(al_get_pixel(a, x, y), al_get_pixel(b, x, y), tolerance)) found.push_back({x, y});
    }
  }
  return found;
}
