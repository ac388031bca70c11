// Where a frame's time goes in a real window: the frame is taken apart and
// each part timed alone, at the game's own pace of 60 frames a second (the
// software renderer's threads sleep between frames, and a frame timed back to
// back with the next one would not pay for waking them).
//
//   frame_parts_bench [rounds]     (8 by default)
//
// The game first plays five seconds so that the world is in motion. Then,
// round after round, each variant draws 20 frames; the variants take turns so
// that a busy spell on the machine falls on all of them.

#include <allegro5/allegro.h>
#include <allegro5/allegro_color.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <tank/core/settings.hpp>
#include <tank/math/blend_mode.hpp>
#include <tank/objects/object_registry.hpp>
#include <tank/resources/graphics_bin.hpp>
#include <tank/resources/new_bitmap_flags.hpp>
#include <tank/shell/frame_copy.hpp>
#include <tank/shell/game_loop.hpp>
#include <tank/shell/startup.hpp>

#include "bench/percentile.hpp"
#include "game/hud.hpp"
#include "game/tank_game.hpp"
#include "game/world.hpp"

using namespace tank;

namespace {
const double frame_period = 1.0 / 60.0;
const char* const vignette_name = "data/images/vignette2.png";
ALLEGRO_BITMAP* vignette = nullptr;
// A frame filtered from its creation on, copied by a draw: the copy as it was
// before it took the cheapest way for each case.
ALLEGRO_BITMAP* filtered_frame = nullptr;

void clear_frame() {
  al_set_target_bitmap(frame_bitmap);
  al_clear_to_color(al_color_name("lightslategray"));
  set_blend_mode(blend_mode::normal, al_color_name("white"));
}

void empty_frame() {
  clear_frame();
  present_frame(frame_bitmap);
}

// The empty frame's copy by each way on its own.
void empty_frame_drawn_unfiltered() {
  clear_frame();
  al_set_target_backbuffer(display);
  draw_frame_copy(frame_bitmap, fit_frame(display_width, display_height, display_width, display_height));
  al_flip_display();
}

void empty_frame_drawn_filtered() {
  al_set_target_bitmap(filtered_frame);
  al_clear_to_color(al_color_name("lightslategray"));
  al_set_target_backbuffer(display);
  draw_frame_copy(filtered_frame, fit_frame(display_width, display_height, display_width, display_height));
  al_flip_display();
}

void back_buffer_only() {
  al_set_target_backbuffer(display);
  al_clear_to_color(al_color_name("lightslategray"));
  al_flip_display();
}

void objects_only() {
  clear_frame();
  draw_all_objects();
  present_frame(frame_bitmap);
}

// As the HUD draws it: without its clear middle.
void vignette_only() {
  clear_frame();
  draw_overlay(vignette_name, 0, 0);
  present_frame(frame_bitmap);
}

void whole_vignette() {
  clear_frame();
  al_draw_tinted_bitmap(vignette, current_tint(), 0, 0, 0);
  present_frame(frame_bitmap);
}

void whole_frame() {
  draw_frame(tank_game, frame_bitmap);
  present_frame(frame_bitmap);
}

// The same drawing without the off-screen frame and its copy.
void whole_frame_in_back_buffer() {
  al_set_target_backbuffer(display);
  al_clear_to_color(al_color_name("lightslategray"));
  set_blend_mode(blend_mode::normal, al_color_name("white"));
  draw_game();
  al_flip_display();
}

struct variant {
  const char* name = "";
  void (*draw)() = nullptr;
  std::vector<double> ms;
};

// Sleeps until the next frame is due, so that frames come 1/60 s apart.
void wait_for_frame(double& due) {
  due += frame_period;
  const double left = due - al_get_time();
  if (left > 0) al_rest(left);
}
}  // namespace

int main(int argc, char** argv) {
  const int rounds = argc > 1 ? std::atoi(argv[1]) : 8;
  const std::vector<std::string> errors = start_up();
  if (!errors.empty() || rounds < 1) {
    std::fprintf(stderr, "%s\n", errors.empty() ? "usage: frame_parts_bench [rounds]"
                                                : build_startup_report(errors).c_str());
    return 1;
  }
  setup_world();
  vignette = get_bitmap(vignette_name);
  {
    const new_bitmap_flags_in_scope filtered(with_filtering(al_get_new_bitmap_flags(), true));
    filtered_frame = al_create_bitmap(display_width, display_height);
  }

  double due = al_get_time();
  for (int i = 0; i < 300; ++i) {
    wait_for_frame(due);
    update_tick(tank_game);
    whole_frame();
  }

  std::vector<variant> variants = {
      {"back buffer: clear and flip", back_buffer_only, {}},
      {"empty frame: clear, copy and flip", empty_frame, {}},
      {"  the copy a draw, unfiltered", empty_frame_drawn_unfiltered, {}},
      {"  the copy a draw, filtered", empty_frame_drawn_filtered, {}},
      {"empty frame + the objects", objects_only, {}},
      {"empty frame + the vignette", vignette_only, {}},
      {"  the vignette drawn whole", whole_vignette, {}},
      {"the whole frame", whole_frame, {}},
      {"the whole frame, drawn in the back buffer", whole_frame_in_back_buffer, {}},
  };
  for (int round = 0; round < rounds; ++round) {
    for (variant& v : variants) {
      for (int i = 0; i < 20; ++i) {
        wait_for_frame(due);
        update_tick(tank_game);
        const double start = al_get_time();
        v.draw();
        v.ms.push_back((al_get_time() - start) * 1000.0);
      }
    }
  }

  std::printf("frame parts, %d frames each, at 60 frames a second:\n", rounds * 20);
  for (const variant& v : variants) {
    std::printf("  %-42s median %6.2f ms   p99 %6.2f ms\n", v.name, percentile(v.ms, 50), percentile(v.ms, 99));
  }
  return 0;
}
