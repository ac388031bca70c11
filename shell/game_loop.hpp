#pragma once

#include <allegro5/allegro.h>

namespace tank {

// What a game hands to the shell: its own parts of start-up and of every
// tick. Any of them may be null.
struct game_callbacks {
  // Builds the world once, after start-up and before the first tick.
  void (*setup_world)() = nullptr;
  // The game's rules, once per tick after the input and animation steps.
  void (*update)() = nullptr;
  // The frame's content, onto the cleared frame. Null draws every registered
  // object; a game that draws more calls draw_all_objects() itself.
  void (*draw)() = nullptr;
};

// Runs one tick per timer event, none merged or dropped, until
// quit_requested is found set before the next event is taken. Each tick is
// drawn into `frame`, which is then copied to the window in one piece.
void run_main_loop(const game_callbacks& game, ALLEGRO_EVENT_QUEUE* queue, ALLEGRO_BITMAP* frame);

// How long the last tick took, in seconds: its update, drawing and flip.
double last_tick_seconds();

// One tick in three stages, so that a headless run can update without
// drawing and a benchmark can draw without a window.
void update_tick(const game_callbacks& game);  // input, F1, ESC and F11, animation, the game's update
void draw_frame(const game_callbacks& game, ALLEGRO_BITMAP* frame);  // clear, the game's drawing, overlay
// One opaque copy to the window, scaled to fit it (largest size with the
// aspect kept, centred, black around it), then the flip.
void present_frame(ALLEGRO_BITMAP* frame);

// Between the window and the whole screen (F11 does it once per press).
void toggle_fullscreen();

}  // namespace tank
