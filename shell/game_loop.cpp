#include <tank/shell/game_loop.hpp>

#include <allegro5/allegro_color.h>

#include <tank/core/settings.hpp>
#include <tank/input/controls.hpp>
#include <tank/math/blend_mode.hpp>
#include <tank/objects/object_registry.hpp>
#include <tank/resources/resource_overlay.hpp>
#include <tank/shell/frame_copy.hpp>

namespace tank {

namespace {
const ALLEGRO_COLOR white = al_color_name("white");
double tick_seconds = 0.0;
}  // namespace

double last_tick_seconds() { return tick_seconds; }

void update_tick(const game_callbacks& game) {
  update_controls();
  // The keys are asked about on every tick, so their controls exist before
  // the first press. A toggle applies every press: two that fell into one
  // tick (the switch to fullscreen stalls the loop) leave it as it was.
  if (key_presses(ALLEGRO_KEY_F1) % 2 == 1) debug_view = !debug_view;
  if (key_pressed(ALLEGRO_KEY_ESCAPE)) quit_requested = true;
  if (key_presses(ALLEGRO_KEY_F11) % 2 == 1) toggle_fullscreen();
  update_all_objects();
  if (game.update) game.update();
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
  while (!quit_requested) {
    ALLEGRO_EVENT event;
    al_wait_for_event(queue, &event);
    if (event.type == ALLEGRO_EVENT_TIMER) {
      const double started = al_get_time();
      update_tick(game);
      draw_frame(game, frame);
      present_frame(frame);
      tick_seconds = al_get_time() - started;
    } else if (event.type == ALLEGRO_EVENT_DISPLAY_CLOSE) {
      quit_requested = true;
    } else if (event.type == ALLEGRO_EVENT_DISPLAY_RESIZE) {
      // The next frame is scaled to the new size; nothing is drawn now.
      al_acknowledge_resize(event.display.source);
    }
  }
}

}  // namespace tank
