#pragma once

#include <allegro5/allegro.h>

#include <algorithm>
#include <cmath>
#include <limits>

#include <tank/animation/clock.hpp>
#include <tank/animation/curves.hpp>
#include <tank/math/color.hpp>

namespace tank {

// Where an animator stands: not started, completed, moving or waiting.
enum animator_state : int {
  animator_idle = 0,
  animator_finished = 1,
  animator_running = 2,
};

// The `repeats` of a movement that never ends.
inline constexpr int repeat_forever = std::numeric_limits<int>::max();

// One movement of a property, its parts named so that a call cannot swap two
// numbers unnoticed:
//
//   sprite.opacity_animators.animate({.from = 1, .to = 0, .duration = 0.5, .curve = curve_quad_in});
//
// Parts left out keep these values: no delay, one second, linear, one run.
//
// A movement can run again right after it ends, `repeats` more times
// (repeat_forever: until it is cleared), each run taking `duration`. Each
// run starts again from `from`, or with back_and_forth every second run goes
// back from `to` to `from`, the same path played backwards. It completes
// where its last run ends: `to`, or `from` after a back-and-forth with an
// odd number of repeats. A count below zero is no repeat.
template <typename T>
struct tween {
  T from{};  // the value it starts from
  T to{};    // the value it ends on, exactly
  double delay = 0.0;     // seconds after the start before it moves
  double duration = 1.0;  // seconds, of each run
  curve_kind curve = curve_linear;  // the easing
  int repeats = 0;  // runs after the first, or repeat_forever
  bool back_and_forth = false;  // every second run goes back from `to` to `from`
};

// How each kind of property moves: numbers and colours blend, flags and
// bitmaps switch to the end value once the eased progress reaches 1.
inline float animated_value(const float& start, const float& end, float eased) {
  return std::lerp(start, end, eased);
}
// Flags switch at the end.
inline bool animated_value(const bool& start, const bool& end, float eased) {
  return step_value(start, end, eased);
}
// Bitmaps switch at the end.
inline ALLEGRO_BITMAP* animated_value(ALLEGRO_BITMAP* const& start, ALLEGRO_BITMAP* const& end, float eased) {
  return step_value(start, end, eased);
}
// Colours blend channel by channel.
inline ALLEGRO_COLOR animated_value(const ALLEGRO_COLOR& start, const ALLEGRO_COLOR& end, float eased) {
  return mix_colors(start, end, eased);
}

// Whether a movement from `start` to `end` goes nowhere.
template <typename T>
bool same_value(const T& start, const T& end) {
  return start == end;
}
// Colours compare channel by channel.
inline bool same_value(const ALLEGRO_COLOR& start, const ALLEGRO_COLOR& end) {
  return colors_equal(start, end);
}

// Moves one property from a start value to an end value over clock time
// along an easing curve, after an optional delay, once or in repeated runs
// (see tween). It reads the clock itself and writes the exact value its last
// run ends on when it completes.
template <typename T>
struct animator_class {
  T* target = nullptr;    // the property written; not owned
  float progress = 0.0f;  // raw progress of the last update within its run, 0..1
  T start_value{};            // from
  T end_value{};              // to
  double duration = 1.0;      // seconds
  double start_time = 0.0;    // clock reading at start
  double delay = 0.0;         // seconds after start_time before moving
  double paused_total = 0.0;  // clock time spent paused since start
  curve_kind curve = curve_linear;       // the easing
  animator_state state = animator_idle;  // idle until started
  double pause_time = 0.0;  // clock reading when the current pause began
  bool paused = false;      // by pause, until resume
  int repeats = 0;          // runs after the first, or repeat_forever
  bool back_and_forth = false;  // every second run goes back from end to start

  // The property it writes from now on.
  animator_class& set_target(T* property) {
    target = property;
    return *this;
  }

  // Refused while paused. The target is first written by the first update
  // after the delay. This form runs once.
  animator_class& start(T from, T to, double seconds, double wait, curve_kind kind) {
    if (paused) return *this;
    repeats = 0;
    back_and_forth = false;
    start_value = from;
    end_value = to;
    duration = seconds;
    delay = std::isnan(wait) ? 0.0 : wait;  // NaN would keep it from ever ending
    curve = kind;
    start_time = current_time();
    state = animator_running;
    progress = 0.0f;
    paused_total = 0.0;
    pause_time = 0.0;
    paused = false;
    return *this;
  }

  // The same from a tween, with its repeats.
  animator_class& start(const tween<T>& t) {
    if (paused) return *this;
    start(t.from, t.to, t.duration, t.delay, t.curve);
    repeats = t.repeats;
    back_and_forth = t.back_and_forth;
    return *this;
  }

  // Writes the property for the current clock reading. Returns false when
  // the animator is done (completed, or nothing to write to) and should go.
  bool update() {
    if (target == nullptr) return false;
    if (paused) return true;
    const double elapsed = current_time() - start_time - delay - paused_total;
    if (elapsed < 0.0) return true;
    if (state == animator_finished) return false;
    if (state != animator_running) return true;

    // A duration that is not positive has nothing to spread the movement
    // over: it completes at once (all its runs, or one for a movement
    // without end) instead of dividing by zero (a NaN progress) or running
    // backwards for ever.
    const bool timed = duration > 0.0;
    const bool forever = repeats == repeat_forever && timed;
    const double last_run = repeats == repeat_forever ? 0.0 : std::max(repeats, 0);
    double run = timed ? 0.0 : last_run;  // counted from 0
    progress = 1.0f;
    if (timed) {
      double runs = elapsed / duration;
      if (repeats != 0 && runs >= 1.0) {
        run = forever ? std::floor(runs) : std::min(std::floor(runs), last_run);
        runs -= run;
      }
      progress = static_cast<float>(std::clamp(runs, 0.0, 1.0));
    }
    // The odd runs of a back-and-forth play the movement backwards.
    const bool backwards = back_and_forth && std::fmod(run, 2.0) == 1.0;
    if (same_value(start_value, end_value)) {
      *target = start_value;
    } else {
      const float eased = apply_curve(backwards ? 1.0f - progress : progress, curve);
      *target = animated_value(start_value, end_value, eased);
    }
    if (!forever && run == last_run && progress >= 1.0f) {
      *target = backwards ? start_value : end_value;
      state = animator_finished;
      return false;
    }
    return true;
  }

  // A second pause keeps the first pause_time.
  animator_class& pause(double now) {
    if (!paused) pause_time = now;
    paused = true;
    return *this;
  }

  // Cuts the time spent paused out of the elapsed time, so the movement
  // continues from where it stopped.
  animator_class& resume(double now) {
    if (paused) paused_total += now - pause_time;
    paused = false;
    return *this;
  }
};

}  // namespace tank
