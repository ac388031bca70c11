#pragma once

#include <allegro5/allegro.h>

#include <string>
#include <vector>

#include <tank/shell/game_loop.hpp>

namespace tank {

// What start-up creates and the loop uses; all live until the process ends.
extern ALLEGRO_DISPLAY* display;
extern ALLEGRO_BITMAP* frame_bitmap;

// Runs every start-up step in order, appending one message per failure.
// Nothing stops at the first failure: the user sees them all at once.
std::vector<std::string> start_up();

// The text of the start-up error report for the given messages, in order.
std::string build_startup_report(const std::vector<std::string>& errors);

// A whole game: start-up, the error report when anything failed, the event
// queue and the 60 Hz timer, the game's world and the main loop. Answers the
// process's exit status: 0 when the player quit, failure_exit_status
// (tank/shell/exit_status.hpp) after a start-up failure, whose report then
// also goes to standard error.
int run_game(const game_callbacks& game);

}  // namespace tank
