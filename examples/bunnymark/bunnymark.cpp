// bunnymark: how many sprites the framework keeps moving at 60 frames a second.
//
// Every bunny is an Object in the registry, drawn by the framework with
// draw_all_objects(); it falls under gravity, bounces off the floor (losing
// some speed, sometimes kicked up again) and off the walls. The top-left
// corner shows the count and the mean frame time over the last 60 ticks.
//
// Controls: left click adds 500 bunnies at the mouse, with a pop from that
// side; right click removes the bunnies within 100 pixels of it; M mutes and
// unmutes; F1 debug view; ESC quits.
//
//   bunnymark                    interactive
//   bunnymark --measure [--cap N]
//       unattended: adds 500 bunnies at a time, prints the mean frame time at
//       each count and ends with the largest count whose mean frame stays
//       within 16.67 ms (or with the cap, once reached).
//
// Build against an installed framework and run from the build folder, where
// the build copies data/ (the framework's placeholders, the bunny and the pop):
//
//   cmake -S . -B build -DCMAKE_PREFIX_PATH=/where/tank/is/installed
//   cmake --build build
//   cd build && ./bunnymark

#include <allegro5/allegro.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include <tank/core/settings.hpp>
#include <tank/input/controls.hpp>
#include <tank/math/random.hpp>
#include <tank/math/vec2d.hpp>
#include <tank/objects/object.hpp>
#include <tank/objects/object_registry.hpp>
#include <tank/resources/font_bin.hpp>
#include <tank/resources/sample_player.hpp>
#include <tank/shell/game_loop.hpp>
#include <tank/shell/startup.hpp>

using namespace tank;

namespace {
constexpr int batch = 500;
constexpr double frame_budget_ms = 1000.0 / 60.0;
constexpr float gravity = 0.5f;  // pixels per tick, per tick
constexpr float reach = 100.0f;  // of a right click, in pixels

// A sprite and its velocity in pixels per tick, in a plain vector. When the
// vector grows or closes a gap, each Object moved takes its place in the
// drawing order and its animators with it.
struct bunny {
  Object sprite{"data/images/bunny.png"};
  float vx = 0.0f;
  float vy = 0.0f;
};
std::vector<bunny> bunnies;

// The last 60 frame times, for a mean that reacts within a second.
constexpr int window = 60;
double frame_ms[window] = {};
int frames_seen = 0;

double mean_frame_ms() {
  const int n = frames_seen < window ? frames_seen : window;
  double sum = 0.0;
  for (int i = 0; i < n; ++i) sum += frame_ms[i];
  return n > 0 ? sum / n : 0.0;
}

// --measure: each count is settled for a few ticks, then timed for `window`.
bool measuring = false;
int cap = 0;  // 0: no cap
int settle_ticks = 0;
int best_count = 0;

void add_bunnies(int count, float x, float y) {
  for (int i = 0; i < count; ++i) {
    bunny& b = bunnies.emplace_back();
    b.sprite.x = x;
    b.sprite.y = y;
    b.sprite.color =
        al_map_rgb_f(random_float(0.5f, 1.0f), random_float(0.5f, 1.0f), random_float(0.5f, 1.0f));
    b.vx = random_float(-5.0f, 5.0f);
    b.vy = random_float(-5.0f, 0.0f);
  }
}

// Erasing destroys the bunnies, and a destroyed Object leaves the registry:
// removing objects in the middle of a tick is safe.
void remove_bunnies_near(float x, float y) {
  std::erase_if(bunnies, [x, y](const bunny& b) {
    return distance(b.sprite.center_x(), b.sprite.center_y(), x, y) < reach;
  });
}

// Plain arithmetic on each bunny's own position; nothing allocates.
void move_bunnies() {
  for (bunny& b : bunnies) {
    Object& s = b.sprite;
    const float right = static_cast<float>(display_width - s.w);
    const float floor = static_cast<float>(display_height - s.h);
    s.x += b.vx;
    s.y += b.vy;
    b.vy += gravity;
    if (s.x > right) {
      s.x = right;
      b.vx = -b.vx;
    } else if (s.x < 0.0f) {
      s.x = 0.0f;
      b.vx = -b.vx;
    }
    if (s.y > floor) {
      s.y = floor;
      b.vy *= -0.85f;
      if (random_bool()) b.vy -= random_float(0.0f, 6.0f);
    } else if (s.y < 0.0f) {
      s.y = 0.0f;
      b.vy = 0.0f;
    }
  }
}

bool finished = false;

void finish(bool capped) {
  finished = true;
  std::printf("largest count within %.2f ms: %d%s\n", frame_budget_ms, best_count,
              capped ? " (the cap)" : "");
  std::fflush(stdout);
  quit_requested = true;
}

// One step of the unattended run, once per tick.
void measure_step() {
  if (settle_ticks > 0) {
    --settle_ticks;
    frames_seen = 0;
    return;
  }
  if (frames_seen < window) return;
  const int count = static_cast<int>(bunnies.size());
  const double mean = mean_frame_ms();
  std::printf("%6d sprites: %6.2f ms a frame\n", count, mean);
  std::fflush(stdout);
  if (mean > frame_budget_ms) {
    finish(false);
    return;
  }
  best_count = count;
  if (cap > 0 && count >= cap) {
    finish(true);
    return;
  }
  add_bunnies(batch, static_cast<float>(display_width / 2), 40.0f);
  settle_ticks = 15;
}

// A batch lands with a pop from its side of the window; M silences it.
void play_sounds() {
  if (key_pressed(mouse_button_left) && !measuring) {
    const float across = static_cast<float>(mouse_x()) / static_cast<float>(display_width);
    play_sample("data/sounds/pop.wav", {.gain = 0.8f, .pan = 2.0f * across - 1.0f});
  }
  if (key_pressed(ALLEGRO_KEY_M)) toggle_mute();
}

void setup() {
  if (measuring) {
    add_bunnies(batch, static_cast<float>(display_width / 2), 40.0f);
    settle_ticks = 30;  // start-up's first frames are slow
  }
}

void update() {
  // The previous tick's time: this one is still running.
  frame_ms[frames_seen % window] = last_tick_seconds() * 1000.0;
  ++frames_seen;
  if (measuring) {
    measure_step();
  } else if (key_pressed(mouse_button_right)) {
    remove_bunnies_near(static_cast<float>(mouse_x()), static_cast<float>(mouse_y()));
  } else if (key_pressed(mouse_button_left)) {
    add_bunnies(batch, static_cast<float>(mouse_x()), static_cast<float>(mouse_y()));
  }
  play_sounds();
  move_bunnies();
}

void draw() {
  draw_all_objects();
  char line[64];
  std::snprintf(line, sizeof line, "sprites: %zu", bunnies.size());
  draw_changing_text(line, 10, 8, 0, 0);
  std::snprintf(line, sizeof line, "frame: %.2f ms", mean_frame_ms());
  draw_changing_text(line, 10, 32, 0, 0);
  draw_text("click: 500 more", static_cast<float>(display_width - 10), 8, 1, 0);
}
}  // namespace

int main(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--measure") == 0) {
      measuring = true;
    } else if (std::strcmp(argv[i], "--cap") == 0 && i + 1 < argc) {
      cap = std::atoi(argv[++i]);
    } else {
      std::fprintf(stderr, "usage: bunnymark [--measure [--cap N]]\n");
      return 2;
    }
  }
  // Bunnies are never scaled or turned: sharp images, without the cost of filtering.
  smooth_images = false;
  const int status = run_game({.setup_world = setup, .update = update, .draw = draw});
  // A measurement that never came to its result (start-up failed, or the
  // window was closed) is a failure.
  if (measuring && !finished) return 1;
  return status;
}
