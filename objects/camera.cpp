#include <tank/objects/camera.hpp>

namespace tank {

vec2d camera;

vec2d world_to_screen(vec2d world) { return world - camera; }
vec2d screen_to_world(vec2d screen) { return screen + camera; }

}  // namespace tank
