#pragma once

#include <tank/math/vec2d.hpp>

namespace tank {

// The top-left corner of the view, in world pixels: the world point drawn at
// the frame's top-left corner. It starts at (0, 0) and is the game's to move
// (follow a player, keep inside the world, shake). Objects that are not fixed
// to the screen, and shapes drawn in the world, are drawn shifted by its
// opposite; fixed objects, text and shapes drawn on the screen are not.
extern vec2d camera;

// A world point where the camera shows it, in frame pixels, and back: the
// pointer's place in the world is screen_to_world(vec2d(mouse_x(), mouse_y())).
vec2d world_to_screen(vec2d world);
vec2d screen_to_world(vec2d screen);

}  // namespace tank
