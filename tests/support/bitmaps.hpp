#pragma once

#include <allegro5/allegro.h>

#include <cstdint>
#include <memory>
#include <vector>

// A bitmap destroyed with its owner.
struct bitmap_deleter {
  void operator()(ALLEGRO_BITMAP* bitmap) const { al_destroy_bitmap(bitmap); }
};
using owned_bitmap = std::unique_ptr<ALLEGRO_BITMAP, bitmap_deleter>;

// A new bitmap of the given size in one colour; the target is left alone.
ALLEGRO_BITMAP* filled_bitmap(int width, int height, ALLEGRO_COLOR color);

// A new bitmap, of the kind the new-bitmap flags say, of random bytes in
// every channel, alpha included, the same for the same seed: any pixel drawn
// or copied wrongly shows.
ALLEGRO_BITMAP* noise_bitmap(int width, int height, std::uint32_t seed);

// A copy in memory of what the renderer drew into a bitmap (or the back
// buffer), to be read pixel by pixel.
owned_bitmap memory_copy(ALLEGRO_BITMAP* bitmap);

// Whether two colours' r, g and b lie within `tolerance` of each other: what
// a drawn pixel can be compared with after 8-bit rounding.
bool rgb_near(const ALLEGRO_COLOR& a, const ALLEGRO_COLOR& b, float tolerance);

struct pixel_position {
  int x = 0;
  int y = 0;
};

// The pixels, row by row, at which two bitmaps differ by more than
// `tolerance` in r, g or b; only the area both cover is compared.
std::vector<pixel_position> differing_pixels(ALLEGRO_BITMAP* a, ALLEGRO_BITMAP* b, float tolerance);
