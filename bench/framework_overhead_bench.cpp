// What the framework costs over plain library calls: one scene of N sprites
// that move, fade and turn on every tick, run twice in one process into the
// same 800 x 600 memory bitmap. The raw side keeps its own arrays and steps
// them by plain arithmetic; the framework side uses Objects, animators
// started with animate() and the registry (update_all_objects, then draw on
// every entry in registry order).
//
// Memory bitmaps, because the software OpenGL renderer behind a virtual X
// server varies by tens of percent from run to run, which would drown the
// difference being measured, and because this runs on any machine without a
// display. The frame is not cleared: the clear is the same on both sides and
// independent of N, and would only dilute the ratio at small N.
//
// Besides the whole tick, the update alone is compared, which splits the
// framework's extra cost into its update and its drawing part.

#include <allegro5/allegro.h>
#include <allegro5/allegro_image.h>
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <vector>

#include <tank/animation/curves.hpp>
#include <tank/math/blend_mode.hpp>
#include <tank/objects/object.hpp>
#include <tank/objects/object_registry.hpp>

#include "app/config.hpp"
#include "tests/support/test_clock.hpp"

using namespace tank;

namespace {
constexpr double tick_seconds = 1.0 / 60.0;
const char* const sprite_path = "data/images/enemy_bullet.png";

ALLEGRO_BITMAP* target = nullptr;
ALLEGRO_BITMAP* sprite = nullptr;
test_clock_class* scene_clock = nullptr;

// One straight movement of one sprite: where it goes, how opaque and how far
// turned it ends up, and in how many ticks. Each sprite draws its legs from
// its own generator, so both sides run exactly the same scene.
struct leg {
  float x = 0.0f;
  float y = 0.0f;
  float opacity = 1.0f;
  float rotation = 0.0f;
  int ticks = 1;
};

std::uint32_t next_random(std::uint32_t& state) {
  state ^= state << 13;
  state ^= state >> 17;
  state ^= state << 5;
  return state;
}

float random_between(std::uint32_t& state, float lo, float hi) {
  return lo + (hi - lo) * static_cast<float>(next_random(state) % 10000u) / 10000.0f;
}

std::uint32_t first_state(int sprite_index) { return 2654435761u * static_cast<std::uint32_t>(sprite_index + 1); }

leg next_leg(std::uint32_t& state, float rotation) {
  leg l;
  l.x = random_between(state, 0.0f, static_cast<float>(display_width));
  l.y = random_between(state, 0.0f, static_cast<float>(display_height));
  l.opacity = random_between(state, 0.2f, 1.0f);
  l.rotation = rotation + random_between(state, -3.0f, 3.0f);
  l.ticks = 30 + static_cast<int>(next_random(state) % 150u);
  return l;
}

float sprite_pivot_x() { return static_cast<float>(al_get_bitmap_width(sprite) / 2); }
float sprite_pivot_y() { return static_cast<float>(al_get_bitmap_height(sprite) / 2); }

// The scene as a program without the framework would write it.
struct raw_scene {
  std::vector<float> x, y, opacity, rotation;
  std::vector<float> step_x, step_y, step_opacity, step_rotation;
  std::vector<int> ticks_left;
  std::vector<std::uint32_t> generator;

  explicit raw_scene(int n) {
    for (auto* v : {&x, &y, &opacity, &rotation, &step_x, &step_y, &step_opacity, &step_rotation}) v->resize(n);
    ticks_left.resize(n);
    generator.resize(n);
    for (int i = 0; i < n; ++i) {
      generator[i] = first_state(i);
      x[i] = random_between(generator[i], 0.0f, static_cast<float>(display_width));
      y[i] = random_between(generator[i], 0.0f, static_cast<float>(display_height));
      opacity[i] = 1.0f;
      rotation[i] = 0.0f;
      start_leg(i);
    }
  }

  void start_leg(int i) {
    const leg l = next_leg(generator[i], rotation[i]);
    const float ticks = static_cast<float>(l.ticks);
    step_x[i] = (l.x - x[i]) / ticks;
    step_y[i] = (l.y - y[i]) / ticks;
    step_opacity[i] = (l.opacity - opacity[i]) / ticks;
    step_rotation[i] = (l.rotation - rotation[i]) / ticks;
    ticks_left[i] = l.ticks;
  }

  void update() {
    const int n = static_cast<int>(x.size());
    for (int i = 0; i < n; ++i) {
      x[i] += step_x[i];
      y[i] += step_y[i];
      opacity[i] += step_opacity[i];
      rotation[i] += step_rotation[i];
      if (--ticks_left[i] == 0) start_leg(i);
    }
  }

  void draw() const {
    al_set_target_bitmap(target);
    al_set_blender(ALLEGRO_ADD, ALLEGRO_ALPHA, ALLEGRO_INVERSE_ALPHA);
    const float pivot_x = sprite_pivot_x();
    const float pivot_y = sprite_pivot_y();
    const int n = static_cast<int>(x.size());
    for (int i = 0; i < n; ++i) {
      al_draw_tinted_scaled_rotated_bitmap(sprite, al_map_rgba_f(1, 1, 1, opacity[i]), pivot_x, pivot_y, x[i], y[i],
                                           1.0f, 1.0f, rotation[i], 0);
    }
  }
};

// The same scene through Objects, animators and the registry.
struct framework_scene {
  std::vector<std::unique_ptr<Object>> objects;
  std::vector<std::uint32_t> generator;

  explicit framework_scene(int n) {
    objects.reserve(n);
    generator.resize(n);
    for (int i = 0; i < n; ++i) {
      objects.push_back(std::make_unique<Object>());
      Object& o = *objects.back();
      o.set_bitmap(sprite, true);
      o.align_center();
      o.align_middle();
      generator[i] = first_state(i);
      const float x = random_between(generator[i], 0.0f, static_cast<float>(display_width));
      const float y = random_between(generator[i], 0.0f, static_cast<float>(display_height));
      o.set_position({x, y});
      start_leg(i);
    }
  }

  // The animators end a little before the leg's last tick so that the
  // driven clock's rounding cannot stretch a leg by one tick.
  void start_leg(int i) {
    Object& o = *objects[i];
    const leg l = next_leg(generator[i], o.rotation);
    const double seconds = (l.ticks - 0.5) * tick_seconds;
    o.x_animators.animate(o.x, l.x, 0.0, seconds, curve_linear);
    o.y_animators.animate(o.y, l.y, 0.0, seconds, curve_linear);
    o.opacity_animators.animate(o.opacity, l.opacity, 0.0, seconds, curve_linear);
    o.rotation_animators.animate(o.rotation, l.rotation, 0.0, seconds, curve_linear);
  }

  void update() {
    scene_clock->advance(tick_seconds);
    update_all_objects();
    const int n = static_cast<int>(objects.size());
    for (int i = 0; i < n; ++i) {
      if (objects[i]->x_animators.size() == 0) start_leg(i);
    }
  }

  void draw() const {
    al_set_target_bitmap(target);
    for (Object& o : object_registry.in_order()) o.draw();
  }
};

double seconds_of(const auto& work) {
  const auto start = std::chrono::steady_clock::now();
  work();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Both scenes side by side, one tick of each per iteration. On a shared
// machine the speed of the processor drifts by tens of percent from one
// second to the next; timing the two in pairs lets both sides see the same
// drift, so the ratio holds still where separate runs would not. The order
// swaps every iteration so neither side always finds the caches as the other
// left them.
template <bool draw>
void compare(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  raw_scene raw(n);
  framework_scene framework(n);
  // Anything else in the registry would be drawn too and skew the figure.
  if (static_cast<std::size_t>(object_registry.count()) != framework.objects.size()) {
    state.SkipWithError("the registry holds objects other than the scene's");
    return;
  }
  const auto raw_tick = [&raw] {
    raw.update();
    if constexpr (draw) raw.draw();
  };
  const auto framework_tick = [&framework] {
    framework.update();
    if constexpr (draw) framework.draw();
  };
  double raw_total = 0.0;
  double framework_total = 0.0;
  bool raw_first = true;
  for (auto _ : state) {
    double raw_seconds = 0.0;
    double framework_seconds = 0.0;
    if (raw_first) {
      raw_seconds = seconds_of(raw_tick);
      framework_seconds = seconds_of(framework_tick);
    } else {
      framework_seconds = seconds_of(framework_tick);
      raw_seconds = seconds_of(raw_tick);
    }
    raw_first = !raw_first;
    raw_total += raw_seconds;
    framework_total += framework_seconds;
    state.SetIterationTime(raw_seconds + framework_seconds);
  }
  const double ticks = static_cast<double>(state.iterations());
  state.counters["raw_us"] = raw_total / ticks * 1e6;
  state.counters["framework_us"] = framework_total / ticks * 1e6;
  state.counters["ratio"] = framework_total / raw_total;
  state.counters["extra_per_sprite_ns"] = (framework_total - raw_total) / ticks / n * 1e9;
}

void tick(benchmark::State& state) { compare<true>(state); }
void update_only(benchmark::State& state) { compare<false>(state); }

void sprite_counts(benchmark::internal::Benchmark* b) {
  b->Arg(100)->Arg(1000)->Arg(10000)->UseManualTime()->Unit(benchmark::kMicrosecond);
}

BENCHMARK(tick)->Apply(sprite_counts);
BENCHMARK(update_only)->Apply(sprite_counts);

bool start_library() {
  if (!al_install_system(ALLEGRO_VERSION_INT, nullptr) || !al_init_image_addon()) return false;
  al_set_new_bitmap_flags(ALLEGRO_MEMORY_BITMAP);
  target = al_create_bitmap(display_width, display_height);
  sprite = al_load_bitmap_flags(sprite_path, ALLEGRO_NO_PREMULTIPLIED_ALPHA);
  if (!target || !sprite) return false;
  al_set_target_bitmap(target);
  al_clear_to_color(al_map_rgb(119, 136, 153));
  apply_cached_blend_mode();
  return true;
}
}  // namespace

int main(int argc, char** argv) {
  if (!start_library()) {
    std::fprintf(stderr, "could not start the library or load %s (run from the repository root)\n", sprite_path);
    return 1;
  }
  test_clock_class driven_clock;
  scene_clock = &driven_clock;
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
