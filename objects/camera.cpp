#include "objects/camera.hpp"

vec2d camera;
