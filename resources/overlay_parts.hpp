#pragma once

#include <allegro5/allegro.h>

#include <cstdint>
#include <vector>

namespace tank {

// A large image laid over the whole frame (a vignette, a border) is often
// fully transparent in its middle, and drawing that middle changes nothing
// yet costs a software renderer as much as the rest. Such an image is drawn
// as the parts around its clear middle instead.

// A rectangle of an image, in its pixels.
struct image_rect {
  int x = 0;  // the left column
  int y = 0;  // the top row
  int w = 0;  // width
  int h = 0;  // height
};

// The rectangles that cover all of a width x height image except a clear
// middle, from its alpha (row by row, one byte a pixel): side by side, never
// overlapping, in rows from the top.
//
// A pixel is left out only when its neighbours are clear as well, so that a
// filtered draw at any position, scale or turn finds nothing but clear pixels
// there either. The middle is cut in bands of rows, each leaving out the
// columns clear in all its rows: a new band starts where keeping on would
// draw more than `slack` needless pixels in a row, and a clear run narrower
// than `slack` is not worth a cut. A software renderer pays for every band's
// edges as well (it works in blocks of pixels, and a block a band's edge
// crosses is shaded whole): for the vignette, 28 parts around 72 % of the
// image were drawn faster than 100 parts around 70 %.
std::vector<image_rect> parts_around_clear_middle(const std::vector<std::uint8_t>& alpha, int width, int height,
                                                  int slack = 64);

// The same for an image in the library: its alpha read once (a lock).
std::vector<image_rect> parts_around_clear_middle(ALLEGRO_BITMAP* image);

}  // namespace tank
