#include "game/hud.hpp"

void draw_game() {}
