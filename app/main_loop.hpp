#pragma once

#include <allegro5/allegro.h>

// Runs one update and draws one frame per timer event until quit_requested.
void run_main_loop(ALLEGRO_EVENT_QUEUE* queue);

// One tick: input, global keys, animation, rules, drawing and the copy to
// the window.
void run_tick();
