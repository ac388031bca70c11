// How many bouncing sprites fit in a 60 Hz frame, with the framework and with
// plain library calls, in one window.
//
//   bunnymark_bench [probe-frames [searches]]     (60 and 3 by default)
//
// The scene is the bunnymark example's: tinted bunnies falling under gravity,
// bouncing off the floor with damping and a random kick, and off the walls.
// It is written three times:
//
//   framework   Objects in the registry, moved by the game's update and drawn
//               by draw_all_objects, in the loop's own stages (update_tick,
//               draw_frame into the off-screen frame, present_frame).
//   plain       the library alone: arrays of positions, held drawing straight
//               into the back buffer, al_draw_tinted_bitmap, flip.
//   plain+copy  the plain scene drawn into an off-screen frame that is then
//               copied to the back buffer by the loop's own copy: it tells the
//               cost of the loop's frame copy from that of the objects.
//
// For each scene the largest count whose mean frame (update, drawing, flip)
// stays within 16.67 ms is searched: the count doubles from 1 000 until a
// probe is over, then the bracket is halved down to 100 sprites (2 % above
// 5 000). The scenes are probed together, their frames interleaved (one of
// each in turn, every one timed), so that a busy spell on the shared machine
// falls on all three alike; frames come at the loop's pace, 1/60 s apart (the
// renderer's threads sleep between frames, and frames back to back would not
// pay for waking them). Even so one probe can be off by a third on this
// renderer, so the search is repeated and the median count is given.
//
// Next the three run at the framework's count, frames interleaved, which
// splits the difference between the framework and the plain scene into the
// frame copy and the rest. Then the framework scene is grown to 50 000
// sprites and 500 more are added within one frame, five times: each addition
// and its frame are timed against the frames before.

#include <allegro5/allegro.h>
#include <allegro5/allegro_color.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <string>
#include <vector>

#include <tank/core/settings.hpp>
#include <tank/objects/object.hpp>
#include <tank/objects/object_registry.hpp>
#include <tank/resources/graphics_bin.hpp>
#include <tank/shell/game_loop.hpp>
#include <tank/shell/startup.hpp>

#include "bench/percentile.hpp"

using namespace tank;

namespace {
const char* const bunny_path = "examples/bunnymark/data/images/bunny.png";
constexpr double frame_period = 1.0 / 60.0;
constexpr double budget_ms = 1000.0 / 60.0;
constexpr float gravity = 0.5f;

// Each scene draws its bunnies and their kicks from its own generator, of the
// same kind and seed.
struct generator {
  std::uint32_t state = 2463534242u;
  float between(float lo, float hi) {
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    return lo + (hi - lo) * static_cast<float>(state % 10000u) / 10000.0f;
  }
};

struct velocity {
  float x = 0.0f;
  float y = 0.0f;
};

// One tick of one bunny, the same arithmetic for every scene.
inline void move(float& x, float& y, velocity& v, float right, float floor, generator& random) {
  x += v.x;
  y += v.y;
  v.y += gravity;
  if (x > right) {
    x = right;
    v.x = -v.x;
  } else if (x < 0.0f) {
    x = 0.0f;
    v.x = -v.x;
  }
  if (y > floor) {
    y = floor;
    v.y *= -0.85f;
    if (random.between(0.0f, 1.0f) > 0.5f) v.y -= random.between(0.0f, 6.0f);
  } else if (y < 0.0f) {
    y = 0.0f;
    v.y = 0.0f;
  }
}

ALLEGRO_COLOR random_tint(generator& random) {
  return al_map_rgb_f(random.between(0.5f, 1.0f), random.between(0.5f, 1.0f), random.between(0.5f, 1.0f));
}

velocity random_velocity(generator& random) {
  return {random.between(-5.0f, 5.0f), random.between(-5.0f, 0.0f)};
}

// --- the framework scene ---------------------------------------------------
struct framework_bunny {
  Object sprite{bunny_path};
  velocity v;
};
std::deque<framework_bunny> framework_bunnies;
generator framework_random;

void framework_resize(int n) {
  while (static_cast<int>(framework_bunnies.size()) > n) framework_bunnies.pop_back();
  while (static_cast<int>(framework_bunnies.size()) < n) {
    framework_bunny& b = framework_bunnies.emplace_back();
    b.sprite.x = static_cast<float>(display_width / 2);
    b.sprite.y = 40.0f;
    b.sprite.color = random_tint(framework_random);
    b.v = random_velocity(framework_random);
  }
}

void framework_update() {
  for (framework_bunny& b : framework_bunnies) {
    Object& s = b.sprite;
    move(s.x, s.y, b.v, static_cast<float>(display_width - s.w), static_cast<float>(display_height - s.h),
         framework_random);
  }
}

const game_callbacks framework_game = {.setup_world = nullptr, .update = framework_update, .draw = nullptr};

void framework_frame() {
  update_tick(framework_game);
  draw_frame(framework_game, frame_bitmap);
  present_frame(frame_bitmap);
}

// --- the plain scenes ------------------------------------------------------
struct plain_bunnies {
  std::vector<float> x, y;
  std::vector<velocity> v;
  std::vector<ALLEGRO_COLOR> tint;
  generator random;
};
plain_bunnies plain;
plain_bunnies plain_copied;
ALLEGRO_BITMAP* plain_sprite = nullptr;
ALLEGRO_COLOR background{};

void resize(plain_bunnies& b, int n) {
  const auto size = static_cast<std::size_t>(n);
  while (b.x.size() < size) {
    b.x.push_back(static_cast<float>(display_width / 2));
    b.y.push_back(40.0f);
    b.tint.push_back(random_tint(b.random));
    b.v.push_back(random_velocity(b.random));
  }
  b.x.resize(size);
  b.y.resize(size);
  b.v.resize(size);
  b.tint.resize(size);
}

void draw_into(plain_bunnies& b, ALLEGRO_BITMAP* target) {
  const float right = static_cast<float>(display_width - al_get_bitmap_width(plain_sprite));
  const float floor = static_cast<float>(display_height - al_get_bitmap_height(plain_sprite));
  const std::size_t n = b.x.size();
  for (std::size_t i = 0; i < n; ++i) move(b.x[i], b.y[i], b.v[i], right, floor, b.random);
  al_set_target_bitmap(target);
  al_clear_to_color(background);
  al_set_blender(ALLEGRO_ADD, ALLEGRO_ALPHA, ALLEGRO_INVERSE_ALPHA);
  al_hold_bitmap_drawing(true);
  for (std::size_t i = 0; i < n; ++i) al_draw_tinted_bitmap(plain_sprite, b.tint[i], b.x[i], b.y[i], 0);
  al_hold_bitmap_drawing(false);
}

void plain_resize(int n) { resize(plain, n); }

void plain_frame() {
  draw_into(plain, al_get_backbuffer(display));
  al_flip_display();
}

void plain_copied_resize(int n) { resize(plain_copied, n); }

void plain_copied_frame() {
  draw_into(plain_copied, frame_bitmap);
  present_frame(frame_bitmap);
}

// --- measuring -------------------------------------------------------------
double due = 0.0;

// Sleeps until the next frame is due, every 1/60 s. After a frame that ran
// late the next one waits for the next slot instead of starting at once: a
// slow scene must not hand the next scene in turn a renderer whose threads
// are still awake.
void wait_for_frame() {
  const double now = al_get_time();
  due += frame_period;
  if (due < now) due += std::ceil((now - due) / frame_period) * frame_period;
  al_rest(due - now);
}

// Half a second for the bunnies just added (all at one point) to spread out
// before a probe is timed.
constexpr int settle_frames = 30;

// One frame at its turn, timed, in milliseconds.
double time_frame(void (*frame)()) {
  wait_for_frame();
  const double start = al_get_time();
  frame();
  return (al_get_time() - start) * 1000.0;
}

// The largest count within the budget: doubling until over, then halving the
// bracket; counts are multiples of 50.
struct scene {
  const char* name = "";
  void (*resize)(int) = nullptr;
  void (*frame)() = nullptr;
  int within = 0;  // the largest count found within the budget
  int over = 0;    // the smallest count found over it; 0 while none
  int probe = 1000;
  double total_ms = 0.0;  // of the probe's timed frames

  void restart() {
    within = 0;
    over = 0;
    probe = 1000;
  }

  bool done() const { return over > 0 && over - within <= std::max(100, within / 50); }

  void record(double ms) {
    if (ms <= budget_ms) {
      within = probe;
    } else {
      over = probe;
    }
    if (over == 0) {
      probe *= 2;
    } else {
      probe = (within + over) / 2 / 50 * 50;
      if (probe <= within) probe = within + 50;
    }
  }
};

// Five times, 500 sprites are added within one frame, from 50 000 on.
void add_500_to_50000(int frames) {
  framework_resize(50000);
  std::vector<double> before;
  for (int i = 0; i < frames; ++i) before.push_back(time_frame(framework_frame));
  std::vector<double> add_ms;
  std::vector<double> frame_ms;
  for (int i = 0; i < 5; ++i) {
    wait_for_frame();
    const double start = al_get_time();
    framework_resize(static_cast<int>(framework_bunnies.size()) + 500);
    const double added = al_get_time();
    framework_frame();
    add_ms.push_back((added - start) * 1000.0);
    frame_ms.push_back((al_get_time() - start) * 1000.0);
  }
  std::printf(
      "adding 500 sprites to 50 000 within a frame, 5 times: the addition median %.2f ms, max %.2f ms;\n",
      percentile(add_ms, 50), percentile(add_ms, 100));
  std::printf(
      "  those frames median %.0f ms, max %.0f ms; the %d frames before: median %.0f ms, max %.0f ms\n",
      percentile(frame_ms, 50), percentile(frame_ms, 100), frames, percentile(before, 50),
      percentile(before, 100));

  const double teardown_start = al_get_time();
  const int count = static_cast<int>(framework_bunnies.size());
  framework_resize(0);
  std::printf("removing the %d again, newest first: %.2f s\n", count, al_get_time() - teardown_start);
}
}  // namespace

int main(int argc, char** argv) {
  const int frames = argc > 1 ? std::atoi(argv[1]) : 60;
  const int searches = argc > 2 ? std::atoi(argv[2]) : 3;
  smooth_images = false;  // as the example sets it: its sprites are never scaled or turned
  const std::vector<std::string> errors = start_up();
  if (!errors.empty() || frames < 1 || searches < 1) {
    std::fprintf(stderr, "%s\n",
                 errors.empty() ? "usage: bunnymark_bench [probe-frames [searches]]"
                                : build_startup_report(errors).c_str());
    return 1;
  }
  background = al_color_name("lightslategray");
  plain_sprite = al_load_bitmap_flags(bunny_path, ALLEGRO_NO_PREMULTIPLIED_ALPHA);
  framework_resize(1);
  if (!plain_sprite || !framework_bunnies.front().sprite.bitmap) {
    std::fprintf(stderr, "could not load %s (run from the repository root)\n", bunny_path);
    return 1;
  }
  if (object_registry.count() != 1) {
    std::fprintf(stderr, "the registry holds objects other than the scene's\n");
    return 1;
  }

  std::vector<scene> scenes = {{"framework", framework_resize, framework_frame},
                               {"plain", plain_resize, plain_frame},
                               {"plain+copy", plain_copied_resize, plain_copied_frame}};
  std::vector<std::vector<double>> found(scenes.size());
  std::printf("largest count with a mean frame within %.2f ms; %d searches, %d frames a probe\n", budget_ms,
              searches, frames);
  due = al_get_time();
  // The renderer compiles its drawing code on first use: run each scene a
  // while before anything counts.
  for (scene& s : scenes) {
    s.resize(1000);
    for (int i = 0; i < 60; ++i) time_frame(s.frame);
  }
  const auto searching = [](const scene& s) { return !s.done(); };
  for (int search = 1; search <= searches; ++search) {
    for (scene& s : scenes) s.restart();
    std::printf("search %d, mean frame at each probe:\n", search);
    while (std::any_of(scenes.begin(), scenes.end(), searching)) {
      std::vector<scene*> probed;
      for (scene& s : scenes) {
        if (!s.done()) probed.push_back(&s);
      }
      for (scene* s : probed) {
        s->resize(s->probe);
        s->total_ms = 0.0;
      }
      for (int i = -settle_frames; i < frames; ++i) {
        for (scene* s : probed) {
          const double ms = time_frame(s->frame);
          if (i >= 0) s->total_ms += ms;
        }
      }
      std::printf(" ");
      for (scene* s : probed) {
        const double mean = s->total_ms / frames;
        std::printf("  %s %d: %.2f ms", s->name, s->probe, mean);
        s->record(mean);
      }
      std::printf("\n");
      std::fflush(stdout);
    }
    std::printf("  found:");
    for (std::size_t i = 0; i < scenes.size(); ++i) {
      std::printf("  %s %d", scenes[i].name, scenes[i].within);
      found[i].push_back(scenes[i].within);
    }
    std::printf("\n");
  }

  std::printf("\nmedian of %d searches (lowest, highest):\n", searches);
  std::vector<double> median(scenes.size());
  for (std::size_t i = 0; i < scenes.size(); ++i) {
    median[i] = percentile(found[i], 50);
    std::printf("  %-10s %6.0f sprites (%.0f, %.0f)\n", scenes[i].name, median[i], percentile(found[i], 0),
                percentile(found[i], 100));
  }
  const double ratio = median[0] / std::max(1.0, median[1]);
  std::printf("framework / plain: %.2f (goal >= 0.9: %s)\n", ratio, ratio >= 0.9 ? "met" : "MISSED");
  std::printf("framework / plain+copy: %.2f\n\n", median[0] / std::max(1.0, median[2]));
  std::fflush(stdout);

  // Where the difference goes: the three at the framework's count, frames
  // interleaved.
  const int count = std::max(100, static_cast<int>(median[0]));
  for (scene& s : scenes) {
    s.resize(count);
    s.total_ms = 0.0;
  }
  for (int i = -settle_frames; i < 2 * frames; ++i) {
    for (scene& s : scenes) {
      const double ms = time_frame(s.frame);
      if (i >= 0) s.total_ms += ms;
    }
  }
  const double framework_ms = scenes[0].total_ms / (2 * frames);
  const double plain_ms = scenes[1].total_ms / (2 * frames);
  const double copied_ms = scenes[2].total_ms / (2 * frames);
  std::printf(
      "at %d sprites, %d frames each, interleaved: framework %.2f ms, plain %.2f ms, plain+copy %.2f ms\n",
      count, 2 * frames, framework_ms, plain_ms, copied_ms);
  std::printf("  the frame copy %.2f ms, the framework beyond it %.2f ms\n\n", copied_ms - plain_ms,
              framework_ms - copied_ms);
  plain_resize(0);
  plain_copied_resize(0);
  std::fflush(stdout);

  add_500_to_50000(10);
  return 0;
}
