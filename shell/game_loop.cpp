#include <tank/shell/game_loop.hpp>

#include <allegro5/allegro_color.h>

#include <algorithm>
#include <cstdint>
#include <string>

#include <tank/core/settings.hpp>
#include <tank/input/controls.hpp>
#include <tank/math/blend_mode.hpp>
#include <tank/objects/object_registry.hpp>
#include <tank/resources/resource_overlay.hpp>
#include <tank/shell/frame_copy.hpp>

namespace tank {

namespace {
const ALLEGRO_COLOR white = al_color_name("white");
constexpr double tick_length = 1.0 / 60.0;
// Far beyond any slow frame: ticks this late piled up while the process was
// stopped or the machine asleep, and are let go rather than played through.
constexpr double stall_seconds = 0.25;
constexpr double fastest_game_speed = 10.0;
double tick_seconds = 0.0;
// Counted, not summed, so that 30 updates are exactly half a second.
std::int64_t game_updates = 0;
// The part of an update that game_speed has given and no tick has run yet.
double update_credit = 0.0;

void take_tick_input() {
  update_controls();
  // The keys are asked about on every tick, so their controls exist before
  // the first press. A toggle applies every press: two that fell into one
  // tick (the switch to fullscreen stalls the loop) leave it as it was.
  if (key_presses(ALLEGRO_KEY_F1) % 2 == 1) debug_view = !debug_view;
  if (key_pressed(ALLEGRO_KEY_ESCAPE)) quit_requested = true;
  if (key_presses(ALLEGRO_KEY_F11) % 2 == 1) toggle_fullscreen();
}

void run_update(const game_callbacks& game) {
  if (game_paused) {
    sort_by_depth();  // the animators stand still; the drawing order holds
  } else {
    ++game_updates;
    update_all_objects();
  }
  if (game.update) game.update();
}

// The title the game asked for, once it differs from the one shown.
void follow_window_title(std::string& shown) {
  ALLEGRO_DISPLAY* display = al_get_current_display();
  if (!display || window_title == shown) return;
  shown = window_title;
  al_set_window_title(display, shown.empty() ? al_get_app_name() : shown.c_str());
}
}  // namespace

double last_tick_seconds() { return tick_seconds; }

double game_time() { return static_cast<double>(game_updates) * tick_length; }

void update_tick(const game_callbacks& game) {
  take_tick_input();
  run_update(game);
}

void run_tick(const game_callbacks& game) {
  // NaN, like 0 and below, gives no update.
  update_credit += game_speed > 0.0 ? std::min(game_speed, fastest_game_speed) : 0.0;
  if (update_credit < 1.0) return;
  update_tick(game);
  for (update_credit -= 1.0; update_credit >= 1.0 && !quit_requested; update_credit -= 1.0) {
    forget_presses();
    run_update(game);
  }
}

void draw_frame(const game_callbacks& game, ALLEGRO_BITMAP* frame) {
  al_set_target_bitmap(frame);
  al_clear_to_color(clear_color);
  set_blend_mode(blend_mode::normal, white);
  if (game.draw) {
    game.draw();
  } else {
    draw_all_objects();
  }
  if (debug_view) draw_resource_overlay(object_registry.count());
}

void present_frame(ALLEGRO_BITMAP* frame) {
  copy_frame_to_window(frame);
  al_flip_display();
}

void toggle_fullscreen() {
  ALLEGRO_DISPLAY* display = al_get_current_display();
  if (!display) return;
  const bool fullscreen = (al_get_display_flags(display) & ALLEGRO_FULLSCREEN_WINDOW) != 0;
  al_set_display_flag(display, ALLEGRO_FULLSCREEN_WINDOW, !fullscreen);
}

void run_main_loop(const game_callbacks& game, ALLEGRO_EVENT_QUEUE* queue, ALLEGRO_BITMAP* frame) {
  std::string shown_title;
  while (!quit_requested) {
    // Everything waiting is taken at once, so that the window's events are
    // answered before the ticks that wait with them run.
    al_wait_for_event(queue, nullptr);
    int ticks = 0;
    double oldest_tick = 0.0;
    ALLEGRO_EVENT event;
    while (al_get_next_event(queue, &event)) {
      if (event.type == ALLEGRO_EVENT_TIMER) {
        if (ticks++ == 0) oldest_tick = event.any.timestamp;
      } else if (event.type == ALLEGRO_EVENT_DISPLAY_CLOSE) {
        quit_requested = true;
      } else if (event.type == ALLEGRO_EVENT_DISPLAY_RESIZE) {
        // The next frame is scaled to the new size; nothing is drawn now.
        al_acknowledge_resize(event.display.source);
      }
    }
    if (quit_requested || ticks == 0) continue;
    if (al_get_time() - oldest_tick > stall_seconds) ticks = 1;

    // Only the newest state is drawn. A tick that sets quit_requested (ESC)
    // is the last, and is drawn.
    double started = 0.0;
    for (int tick = 0; tick < ticks && !quit_requested; ++tick) {
      started = al_get_time();
      run_tick(game);
    }
    follow_window_title(shown_title);
    draw_frame(game, frame);
    present_frame(frame);
    tick_seconds = al_get_time() - started;
  }
}

}  // namespace tank
