#include "app/main_loop.hpp"

#include <allegro5/allegro_color.h>

#include "animation/object_registry.hpp"
#include "app/config.hpp"
#include "app/startup.hpp"
#include "game/hud.hpp"
#include "game/rules.hpp"
#include "input/controls.hpp"
#include "math/blend_mode.hpp"
#include "resources/resource_overlay.hpp"

namespace {
const ALLEGRO_COLOR background = al_color_name("lightslategray");
const ALLEGRO_COLOR white = al_color_name("white");
}  // namespace

void update_tick() {
  update_controls();
  // Both keys are asked about on every tick, so their controls exist before
  // the first press.
  if (key_pressed(ALLEGRO_KEY_F1)) debug_view = !debug_view;
  if (key_pressed(ALLEGRO_KEY_ESCAPE)) quit_requested = true;
  update_all_objects();
  update_game();
}

void draw_frame(ALLEGRO_BITMAP* frame) {
  al_set_target_bitmap(frame);
  al_clear_to_color(background);
  set_blend_mode(0, white);
  draw_game();
  if (debug_view) draw_resource_overlay();
}

void present_frame(ALLEGRO_BITMAP* frame) {
  al_set_target_backbuffer(al_get_current_display());
  // Translucent sprites lower the frame's alpha; the copy must still cover
  // the back buffer completely, so it replaces instead of blending.
  int op, source, destination, alpha_op, alpha_source, alpha_destination;
  al_get_separate_blender(&op, &source, &destination, &alpha_op, &alpha_source, &alpha_destination);
  al_set_blender(ALLEGRO_ADD, ALLEGRO_ONE, ALLEGRO_ZERO);
  al_draw_bitmap(frame, 0, 0, 0);
  al_set_separate_blender(op, source, destination, alpha_op, alpha_source, alpha_destination);
  al_flip_display();
}

void run_main_loop(ALLEGRO_EVENT_QUEUE* queue) {
  while (!quit_requested) {
    ALLEGRO_EVENT event;
    al_wait_for_event(queue, &event);
    if (event.type == ALLEGRO_EVENT_TIMER) {
      update_tick();
      draw_frame(frame_bitmap);
      present_frame(frame_bitmap);
    } else if (event.type == ALLEGRO_EVENT_DISPLAY_CLOSE) {
      quit_requested = true;
    }
  }
}
