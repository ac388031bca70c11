// The cost of one tick's work, the animation step (update_all_objects) and
// the game rules (update_game), for the real game and for larger registries.
//
// The real game runs headless through the shared driver, with a scripted
// player who aims at the lowest enemy in view and fires both tanks in turn.
// Play restarts from the starting layout every ten seconds of game time, so
// the figure describes a game in progress rather than the long quiet tail
// after it has ended. Input sampling, the scripted player and the restarts
// are outside the timed part.
//
// The larger registries add plain Objects alongside the game's 115, a share
// of them animating (moving and fading, restarted when done) like the game's
// bullets and explosions. The cost is printed per tick and per object.

#include <allegro5/allegro.h>
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <vector>

#include <tank/animation/curves.hpp>
#include <tank/input/controls.hpp>
#include <tank/math/vec2d.hpp>
#include <tank/objects/object.hpp>
#include <tank/objects/object_registry.hpp>
#include <tank/resources/placeholders.hpp>

#include "app/config.hpp"
#include "bench/percentile.hpp"
#include "game/rules.hpp"
#include "game/world.hpp"
#include "tests/support/headless_driver.hpp"
#include "tests/support/random_player.hpp"

using namespace tank;

namespace {
constexpr double tick_seconds = 1.0 / 60.0;
constexpr int round_ticks = 600;
// One object in nineteen animating: the share measured in the real game while
// it is being played (printed as `animating` by real_game), about 5 %.
constexpr int animating_every = 19;

std::vector<vec2d> starting_layout;  // where setup_world put the enemies
int tick_in_round = 0;
int game_objects = 0;  // the registry's size with the game alone

void start_round(headless_driver_class& driver) {
  driver.reset_game();
  for (std::size_t i = 0; i < enemies.size(); ++i) enemies[i]->set_position(starting_layout[i]);
  tick_in_round = 0;
}

// Every ten ticks one button goes down for two ticks, left and right in turn,
// aimed a little ahead of the lowest enemy; with nothing in view the mouse
// sweeps the sky.
void play(scripted_input_class& input) {
  const int phase = tick_in_round % 20;
  if (phase == 0 || phase == 10) {
    if (const Object* target = lowest_target()) {
      input.move_mouse(static_cast<int>(target->x), static_cast<int>(target->y + 20.0f));
    } else {
      input.move_mouse(100 + (tick_in_round * 7) % 600, 150);
    }
  }
  input.set_down(mouse_button_left, phase < 2);
  input.set_down(mouse_button_right, phase >= 10 && phase < 12);
}

// One tick with only the animation step and the rules timed.
double timed_tick(headless_driver_class& driver) {
  play(driver.input);
  driver.clock.advance(tick_seconds);
  update_controls();
  const auto start = std::chrono::steady_clock::now();
  update_all_objects();
  update_game();
  const auto end = std::chrono::steady_clock::now();
  if (++tick_in_round == round_ticks) start_round(driver);
  return std::chrono::duration<double>(end - start).count();
}

// The median tick rather than the mean: on a shared machine a tick now and
// then loses the processor, which says nothing about the code.
void report_ticks(benchmark::State& state, const std::vector<double>& ticks) {
  const double median = percentile(ticks, 50);
  const int objects = object_registry.count();
  state.counters["objects"] = static_cast<double>(objects);
  state.counters["median_us"] = median * 1e6;
  state.counters["p99_us"] = percentile(ticks, 99) * 1e6;
  state.counters["per_object_ns"] = median / static_cast<double>(objects) * 1e9;
}

void real_game(benchmark::State& state) {
  headless_driver_class& driver = shared_driver();
  std::vector<double> ticks;
  double animating = 0.0;
  for (auto _ : state) {
    ticks.push_back(timed_tick(driver));
    state.SetIterationTime(ticks.back());
    int busy = 0;
    for (const Object& object : object_registry.in_order()) busy += object.animator_count() > 0 ? 1 : 0;
    animating += static_cast<double>(busy) / static_cast<double>(object_registry.count());
  }
  report_ticks(state, ticks);
  state.counters["animating"] = animating / static_cast<double>(state.iterations());
}

// The extra objects live across the runs of one size and grow with the
// sizes, which come in ascending order: building 100 000 of them for every
// run would take longer than the run.
std::vector<std::unique_ptr<Object>> extras;

void keep_animating(Object& object, std::uint32_t& seed) {
  seed = seed * 1664525u + 1013904223u;
  const double seconds = 0.5 + static_cast<double>(seed >> 24) / 170.0;
  const float x = static_cast<float>(seed % 800u);
  const float y = static_cast<float>((seed >> 10) % 600u);
  object.x_animators.animate(object.x, x, 0.0, seconds, curve_quad_out);
  object.y_animators.animate(object.y, y, 0.0, seconds, curve_quad_out);
  object.opacity_animators.animate(1.0f, 0.0f, 0.0, seconds, curve_quad_in);
}

void grow_extras(std::size_t count) {
  std::uint32_t seed = static_cast<std::uint32_t>(extras.size()) + 1u;
  while (extras.size() < count) {
    extras.push_back(std::make_unique<Object>());
    Object& object = *extras.back();
    object.set_position({static_cast<float>(extras.size() % 800), static_cast<float>(extras.size() % 600)});
    if (extras.size() % animating_every == 0) keep_animating(object, seed);
  }
}

void more_objects(benchmark::State& state) {
  headless_driver_class& driver = shared_driver();
  const auto total_objects = static_cast<std::size_t>(state.range(0));
  grow_extras(total_objects - static_cast<std::size_t>(game_objects));
  std::uint32_t seed = 7u;
  std::vector<double> ticks;
  for (auto _ : state) {
    ticks.push_back(timed_tick(driver));
    state.SetIterationTime(ticks.back());
    for (std::size_t i = animating_every - 1; i < extras.size(); i += animating_every) {
      if (extras[i]->x_animators.size() == 0) keep_animating(*extras[i], seed);
    }
  }
  report_ticks(state, ticks);
}

BENCHMARK(real_game)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(more_objects)->Arg(1000)->Arg(10000)->Arg(100000)->UseManualTime()->Unit(benchmark::kMicrosecond);
}  // namespace

int main(int argc, char** argv) {
  headless_driver_class& driver = shared_driver();
  if (!missing_image || enemies.empty()) {
    std::fprintf(stderr, "the game did not start (run from the repository root, where data/ is)\n");
    return 1;
  }
  game_objects = object_registry.count();
  for (const auto& enemy : enemies) starting_layout.push_back(enemy->position());
  start_round(driver);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
