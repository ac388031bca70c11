#include "tests/support/bitmaps.hpp"

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
