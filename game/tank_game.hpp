#pragma once

#include <tank/shell/game_loop.hpp>

// TANK as the shell runs it: the world's setup, the rules and the frame with
// its head-up display.
extern const tank::game_callbacks tank_game;
