#pragma once

#include <allegro5/allegro.h>

// Runs one tick per timer event, none merged or dropped, until
// quit_requested is found set before the next event is taken.
void run_main_loop(ALLEGRO_EVENT_QUEUE* queue);

// One tick in three stages, so that a headless run can update without
// drawing and a benchmark can draw without a window.
void update_tick();                     // input, F1 and ESC, animation, rules
void draw_frame(ALLEGRO_BITMAP* frame);  // clear, world and HUD, overlay
void present_frame(ALLEGRO_BITMAP* frame);  // one opaque copy, then flip
