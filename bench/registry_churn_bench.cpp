// Objects that are born and die every tick, at mixed depths: what one spawn
// and one removal cost as the registry grows.
//
// N objects stay alive, spread over four depths below a title that stands in
// front of them all. Every tick N/30 of them, chosen at random, are removed
// and as many are born at random depths (a particle system at its steady
// state), then the tick's animation step runs and the frame's order is read.
// Each phase is timed on its own; the figures are medians over the ticks.
//
// "spawn" includes the births' share of the tick: the tick with churn minus
// the same tick without any, divided by the births. Every tick with churn is
// followed by one without, so that both see the objects spread over memory
// alike (churn scatters them) and the same load on the machine.

#include <allegro5/allegro.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <random>
#include <vector>

#include <tank/objects/object.hpp>
#include <tank/objects/object_registry.hpp>

#include "bench/percentile.hpp"
#include "tests/support/test_clock.hpp"

using namespace tank;

namespace {
using seconds = std::chrono::duration<double>;
constexpr int ticks_measured = 120;
constexpr float depths[] = {0.0f, 1.0f, 2.0f, 3.0f};

std::mt19937 random_engine(7);

float random_depth() { return depths[std::uniform_int_distribution<int>(0, 3)(random_engine)]; }

std::unique_ptr<Object> spawn() { return std::make_unique<Object>(random_depth()); }

template <typename Step>
double timed(Step step) {
  const auto start = std::chrono::steady_clock::now();
  step();
  return seconds(std::chrono::steady_clock::now() - start).count();
}

// The tick's registry work: the animation step, then the drawing order.
double tick() {
  return timed([] {
    update_all_objects();
    std::size_t live = 0;
    for ([[maybe_unused]] const Object& object : object_registry.in_order()) ++live;
    if (live == 0) std::abort();
  });
}

struct figures {
  double spawn_us = 0.0;
  double remove_us = 0.0;
  double tick_us = 0.0;
  double quiet_tick_us = 0.0;
};

figures measure(int alive) {
  Object title(10.0f);
  std::vector<std::unique_ptr<Object>> pool;
  pool.reserve(static_cast<std::size_t>(alive));
  for (int i = 0; i < alive; ++i) pool.push_back(spawn());
  tick();

  const int churn = alive / 30;
  std::vector<double> spawns, removals, ticks, quiet;
  for (int t = 0; t < ticks_measured; ++t) {
    removals.push_back(timed([&] {
      for (int i = 0; i < churn; ++i) {
        const auto victim = std::uniform_int_distribution<std::size_t>(0, pool.size() - 1)(random_engine);
        std::swap(pool[victim], pool.back());
        pool.pop_back();
      }
    }) / churn);
    spawns.push_back(timed([&] {
      for (int i = 0; i < churn; ++i) pool.push_back(spawn());
    }) / churn);
    ticks.push_back(tick());
    quiet.push_back(tick());
  }
  figures f;
  f.quiet_tick_us = percentile(quiet, 50) * 1e6;
  f.tick_us = percentile(ticks, 50) * 1e6;
  f.spawn_us = percentile(spawns, 50) * 1e6 + std::max(0.0, f.tick_us - f.quiet_tick_us) / churn;
  f.remove_us = percentile(removals, 50) * 1e6;
  return f;
}
}  // namespace

int main() {
  const test_clock_class clock;  // nothing animates; no library clock needed
  std::printf("alive    per spawn   per removal   tick with churn   tick without\n");
  figures first;
  for (const int alive : {1000, 2000, 5000, 10000, 20000, 40000}) {
    const figures f = measure(alive);
    if (alive == 1000) first = f;
    std::printf("%-8d %8.3f us %10.3f us %13.1f us %12.1f us\n", alive, f.spawn_us, f.remove_us, f.tick_us,
                f.quiet_tick_us);
    if (alive == 40000) {
      const double spawn_growth = f.spawn_us / first.spawn_us;
      const double removal_growth = f.remove_us / first.remove_us;
      std::printf("growth from 1 000 to 40 000 alive: spawn %.1fx, removal %.1fx (goal: within 3x): %s\n",
                  spawn_growth, removal_growth, spawn_growth <= 3.0 && removal_growth <= 3.0 ? "met" : "MISSED");
    }
  }
  return 0;
}
