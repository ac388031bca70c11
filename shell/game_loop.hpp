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

// Runs one tick (run_tick: one update at game_speed 1) per timer event, in
// order, none merged, until quit_requested is found set before the next
// events are taken. The window's title follows window_title. The window's
// events (close, resize) are answered before the ticks waiting with them, and
// a tick whose successor is already waiting is not drawn: when drawing or the
// flip is slower than a tick, the game keeps 60 ticks a second and shows
// fewer frames. After a stall of more than a quarter second (the process
// stopped, the machine asleep) the ticks that piled up are let go but the
// newest, and the game goes on where it stood. Each frame drawn goes into
// `frame`, which is then copied to the window in one piece.
void run_main_loop(const game_callbacks& game, ALLEGRO_EVENT_QUEUE* queue, ALLEGRO_BITMAP* frame);

// How long the last tick that was drawn took, in seconds: its updates,
// drawing and flip.
double last_tick_seconds();

// Seconds of game time: 1/60 for every update run while game_paused is false.
// Animators follow it once a game sets animation_clock = game_time.
double game_time();

// One tick in three stages, so that a headless run can update without
// drawing and a benchmark can draw without a window.
// The tick's updates at game_speed: none, one or more (two at 2, one every
// second tick at 0.5). The first is an update_tick; the others find the
// tick's presses forgotten, so that none is seen twice.
void run_tick(const game_callbacks& game);
// One update on a fresh input sample: input, F1, ESC and F11, the game clock
// and the animation step (while game_paused: a depth sort alone), the game's
// update.
void update_tick(const game_callbacks& game);
void draw_frame(const game_callbacks& game, ALLEGRO_BITMAP* frame);  // clear, the game's drawing, overlay
// One opaque copy to the window, scaled to fit it (largest size with the
// aspect kept, centred, black around it), then the flip.
void present_frame(ALLEGRO_BITMAP* frame);

// Between the window and the whole screen (F11 does it once per press).
void toggle_fullscreen();

}  // namespace tank
