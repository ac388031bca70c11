#pragma once

#include <array>
#include <string>

// The debug view's three lines on what the program holds: images (loaded and
// missing), objects, fonts and rendered texts.
std::array<std::string, 3> resource_overlay_lines();

// Draws the lines at the top left of the target in `default_font` and the
// current tint, straight from the font so the changing numbers add nothing
// to the text cache.
void draw_resource_overlay();
