#include "tests/support/bitmaps.hpp"

#include <algorithm>
#include <cmath>

ALLEGRO_BITMAP* filled_bitmap(int width, int height, ALLEGRO_COLOR color) {
  ALLEGRO_BITMAP* bitmap = al_create_bitmap(width, height);
  ALLEGRO_BITMAP* previous = al_get_target_bitmap();
  al_set_target_bitmap(bitmap);
  al_clear_to_color(color);
  al_set_target_bitmap(previous);
  return bitmap;
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
