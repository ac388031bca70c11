#include "game/rules.hpp"

void update_game() {}
