#pragma once

#include <tank/math/vec2d.hpp>

namespace tank {

// The view's position in the world. Every object that is not fixed to the
// screen is drawn shifted by its opposite; it starts at (0, 0) and the game
// never moves it.
extern vec2d camera;

}  // namespace tank
