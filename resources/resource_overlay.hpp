#pragma once

#include <array>
#include <string>

namespace tank {

// The debug view's four lines on what the program holds: images (loaded and
// missing), objects, fonts and rendered texts, samples (loaded and missing).
// The objects are counted by their owner, which sits above the resources, so
// the count is handed in.
std::array<std::string, 4> resource_overlay_lines(int object_count);

// Draws the lines at the top left of the target in `default_font` and the
// current tint, as changing texts: the numbers add nothing to the text cache.
void draw_resource_overlay(int object_count);

}  // namespace tank
