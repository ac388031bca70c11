#include <tank/animation/frame_cycle.hpp>

#include <cmath>

#include <tank/animation/clock.hpp>

namespace tank {

void frame_cycle_player::start(const frame_cycle& what) {
  cycle = what;
  if (cycle.count <= 0) cycle.count = 0;
  start_time = current_time();
  paused = false;
}

void frame_cycle_player::stop() {
  cycle.count = 0;
  paused = false;
}

void frame_cycle_player::pause() {
  if (paused) return;
  pause_time = current_time();
  paused = true;
}

void frame_cycle_player::resume() {
  if (!paused) return;
  start_time += current_time() - pause_time;
  paused = false;
}

double frame_cycle_player::steps() const {
  const double elapsed = (paused ? pause_time : current_time()) - start_time;
  // A clock that reaches a frame's start by adding up ticks lands a rounding
  // error short of it: a millionth of a frame counts as there.
  const double steps = std::floor(elapsed * cycle.fps + 1e-6);
  // A clock set back before the start, or a rate that is no finite positive
  // number, holds the first frame.
  return steps > 0.0 && std::isfinite(steps) ? steps : 0.0;
}

int frame_cycle_player::frame() const {
  if (!playing()) return cycle.first;
  const double count = cycle.count;
  const double step = steps();
  // In doubles: a cycle left running for days counts past any int.
  const double into = cycle.repeat == frame_repeat::loop ? std::fmod(step, count) : std::fmin(step, count - 1.0);
  return cycle.first + static_cast<int>(into);
}

bool frame_cycle_player::finished() const {
  return !playing() || (cycle.repeat == frame_repeat::once && steps() >= cycle.count);
}

}  // namespace tank
