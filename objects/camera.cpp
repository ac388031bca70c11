#include <tank/objects/camera.hpp>

namespace tank {

vec2d camera;

}  // namespace tank
