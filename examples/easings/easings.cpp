// easings: the framework's ten easing curves side by side.
//
// One dot per curve, one row each, its curve's name beside it. The dots pop
// in (pop_in), then each crosses the window and comes back along its own
// curve, for ever: an animator on the dot's x, started again at each end.
//
// Controls: Space pauses and resumes every animator; F1 debug view; ESC quits.
//
//   easings               runs until ESC
//   easings --frames N    quits by itself after N frames
//
// Build against an installed framework and run from the build folder, where
// the build copies data/ (the framework's placeholders and the dot):
//
//   cmake -S . -B build -DCMAKE_PREFIX_PATH=/where/tank/is/installed
//   cmake --build build
//   cd build && ./easings

#include <allegro5/allegro.h>
#include <allegro5/allegro_primitives.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <tank/animation/curves.hpp>
#include <tank/core/settings.hpp>
#include <tank/input/controls.hpp>
#include <tank/objects/object.hpp>
#include <tank/resources/font_bin.hpp>
#include <tank/shell/game_loop.hpp>
#include <tank/shell/startup.hpp>

using namespace tank;

namespace {
constexpr int curve_count = 10;
// In the order of curve_kind, so that row i shows curve i.
const char* const curve_names[curve_count] = {
    "linear",         "quad_out", "quad_in",           "quad_out_in",       "quad_in_out",
    "quad_out_twice", "cubic_in", "quad_out_in_twice", "quad_in_out_twice", "overshoot",
};

constexpr float track_left = 260.0f;
constexpr float track_right = 680.0f;  // the overshoot swings 20 % beyond either end
constexpr double leg_seconds = 2.0;
constexpr double rest_seconds = 0.5;  // at each end, before turning back
constexpr float pop_seconds = 0.6f;

// Global Objects are fine: the registry is built before them and torn down
// after them. Their image is set in setup(), once the library is up.
Object dots[curve_count];
bool paused = false;
long frames_left = -1;  // --frames: counts down to the end; -1 runs until ESC

float row_y(int row) { return 45.0f + 52.0f * static_cast<float>(row); }

// One crossing towards the far end, along the row's own curve.
void start_leg(int row, double delay) {
  Object& dot = dots[row];
  const float to = dot.x < (track_left + track_right) / 2 ? track_right : track_left;
  dot.x_animators.animate({.from = dot.x, .to = to, .delay = delay, .duration = leg_seconds,
                           .curve = static_cast<curve_kind>(row)});
}

void setup() {
  for (int row = 0; row < curve_count; ++row) {
    Object& dot = dots[row];
    dot.set_bitmap("data/images/dot.png", true);
    dot.align_center();
    dot.align_middle();
    dot.x = track_left;
    dot.y = row_y(row);
    dot.opacity = 0.0f;
    dot.scale_x = 0.0f;
    dot.scale_y = 0.0f;
    dot.pop_in(pop_seconds, curve_overshoot);
    start_leg(row, pop_seconds);
  }
}

void update() {
  if (frames_left > 0 && --frames_left == 0) quit_requested = true;
  // Every press toggles, also two that fell into one tick.
  if (key_presses(ALLEGRO_KEY_SPACE) % 2 == 1) {
    paused = !paused;
    for (Object& dot : dots) {
      if (paused) {
        dot.pause_animators();
      } else {
        dot.resume_animators();
      }
    }
  }
  if (paused) return;
  // A list whose animators have all finished: the dot has arrived.
  for (int row = 0; row < curve_count; ++row) {
    if (dots[row].x_animators.finished()) start_leg(row, rest_seconds);
  }
}

void draw() {
  const ALLEGRO_COLOR track = al_map_rgba(255, 255, 255, 70);
  for (int row = 0; row < curve_count; ++row) {
    al_draw_line(track_left, row_y(row), track_right, row_y(row), track, 1.0f);
  }
  draw_all_objects();
  for (int row = 0; row < curve_count; ++row) draw_text(curve_names[row], 20.0f, row_y(row), 0.0f, 0.5f);
  draw_text(paused ? "paused - Space resumes" : "Space pauses", 20.0f, 575.0f, 0.0f, 0.5f);
}
}  // namespace

int main(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--frames") == 0 && i + 1 < argc && std::atol(argv[i + 1]) > 0) {
      frames_left = std::atol(argv[++i]);
    } else {
      std::fprintf(stderr, "usage: easings [--frames N]\n");
      return 2;
    }
  }
  return run_game({.setup_world = setup, .update = update, .draw = draw});
}
