#include "game/world.hpp"

void setup_world() {}
