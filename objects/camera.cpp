#include <tank/objects/camera.hpp>

vec2d camera;
