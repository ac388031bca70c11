#pragma once

#include <allegro5/allegro.h>

// A new bitmap of the given size in one colour; the target is left alone.
ALLEGRO_BITMAP* filled_bitmap(int width, int height, ALLEGRO_COLOR color);

// Whether two colours' r, g and b lie within `tolerance` of each other: what
// a drawn pixel can be compared with after 8-bit rounding.
bool rgb_near(const ALLEGRO_COLOR& a, const ALLEGRO_COLOR& b, float tolerance);
