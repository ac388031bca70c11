#include "game/tank_game.hpp"

#include "game/hud.hpp"
#include "game/rules.hpp"
#include "game/world.hpp"

const tank::game_callbacks tank_game{setup_world, update_game, draw_game};
