#include <tank/shell/startup.hpp>

#include "game/tank_game.hpp"

int main(int, char**) { return run_game(tank_game); }
