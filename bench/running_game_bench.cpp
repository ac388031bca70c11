// The real program in a real window, timed. It runs the program's own stages
// in the program's order (start-up, the event queue with the display and the
// 1/60 s timer, the world) and then the main loop's body, with each stage of
// every tick timed: the update, the drawing into the frame bitmap and the
// copy to the window with the flip. Someone (the benchmark script, through
// xdotool) moves the mouse and clicks meanwhile, so shots fly.
//
//   running_game_bench [seconds [frame-times.csv]]     (60 seconds by default)
//
// TANK_BENCH_LAUNCH_NS, when set, is the wall-clock time in nanoseconds at
// which the process was launched, so that the time to the first frame also
// counts loading the program and its libraries.

#include <allegro5/allegro.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include <tank/input/controls.hpp>
#include <tank/shell/game_loop.hpp>
#include <tank/shell/startup.hpp>

#include "app/config.hpp"
#include "bench/percentile.hpp"
#include "game/tank_game.hpp"
#include "game/world.hpp"

using namespace tank;

namespace {
// The three stages of one tick, in seconds.
struct tick_times {
  double update = 0.0;
  double draw = 0.0;
  double present = 0.0;
  double frame() const { return update + draw + present; }
};

double wall_clock_ms() {
  return std::chrono::duration<double, std::milli>(std::chrono::system_clock::now().time_since_epoch()).count();
}

template <typename F>
std::vector<double> milliseconds(const std::vector<tick_times>& ticks, F stage) {
  std::vector<double> ms;
  ms.reserve(ticks.size());
  for (const tick_times& t : ticks) ms.push_back(stage(t) * 1000.0);
  return ms;
}

void print_stage(const char* name, const std::vector<double>& ms) {
  std::printf("  %-8s median %7.3f ms   p99 %7.3f ms   max %7.3f ms\n", name, percentile(ms, 50), percentile(ms, 99),
              *std::max_element(ms.begin(), ms.end()));
}

// A "Name:   value kB" line of /proc/self/status, as its value.
std::string process_status(const std::string& name) {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind(name + ":", 0) == 0) {
      const std::size_t value = line.find_first_not_of(" \t", name.size() + 1);
      return value == std::string::npos ? "" : line.substr(value);
    }
  }
  return "unknown";
}

double ms_since(std::chrono::steady_clock::time_point from) {
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - from).count();
}

void write_frame_times(const char* path, const std::vector<tick_times>& ticks) {
  std::ofstream out(path);
  out << "tick,update_ms,draw_ms,present_ms,frame_ms\n";
  for (std::size_t i = 0; i < ticks.size(); ++i) {
    const tick_times& t = ticks[i];
    out << i + 1 << ',' << t.update * 1000.0 << ',' << t.draw * 1000.0 << ',' << t.present * 1000.0 << ','
        << t.frame() * 1000.0 << '\n';
  }
}
}  // namespace

int main(int argc, char** argv) {
  const auto entered = std::chrono::steady_clock::now();
  const double seconds = argc > 1 ? std::atof(argv[1]) : 60.0;
  const auto wanted_ticks = static_cast<std::size_t>(std::lround(seconds * 60.0));
  if (wanted_ticks == 0) {
    std::fprintf(stderr, "usage: running_game_bench [seconds [frame-times.csv]]\n");
    return 2;
  }

  const std::vector<std::string> errors = start_up();
  const double started_ms = ms_since(entered);
  if (!errors.empty()) {
    std::fprintf(stderr, "%s\n", build_startup_report(errors).c_str());
    return 1;
  }
  ALLEGRO_EVENT_QUEUE* queue = al_create_event_queue();
  al_register_event_source(queue, al_get_display_event_source(display));
  ALLEGRO_TIMER* timer = al_create_timer(1.0 / 60.0);
  al_start_timer(timer);
  al_register_event_source(queue, al_get_timer_event_source(timer));
  setup_world();
  const double world_ms = ms_since(entered);

  std::vector<tick_times> ticks;
  ticks.reserve(wanted_ticks);
  double first_tick_ms = 0.0;
  double first_frame_after_main_ms = 0.0;
  double first_frame_wall_ms = 0.0;
  std::int64_t late_ticks = 0;
  std::int64_t largest_backlog = 0;
  int left_presses = 0;
  int right_presses = 0;

  // The main loop's body, with the stages timed; it stops after the wanted
  // number of ticks instead of waiting for ESC.
  while (!quit_requested && ticks.size() < wanted_ticks) {
    ALLEGRO_EVENT event;
    al_wait_for_event(queue, &event);
    if (event.type == ALLEGRO_EVENT_TIMER) {
      // Ticks the timer has counted since this one: events already waiting.
      const std::int64_t backlog = al_get_timer_count(timer) - event.timer.count;
      if (backlog > 0) ++late_ticks;
      largest_backlog = std::max(largest_backlog, backlog);

      if (ticks.empty()) first_tick_ms = ms_since(entered);
      tick_times t;
      const double start = al_get_time();
      update_tick(tank_game);
      const double updated = al_get_time();
      draw_frame(tank_game, frame_bitmap);
      const double drawn = al_get_time();
      present_frame(frame_bitmap);
      const double presented = al_get_time();
      t.update = updated - start;
      t.draw = drawn - updated;
      t.present = presented - drawn;
      ticks.push_back(t);

      if (ticks.size() == 1) {
        first_frame_after_main_ms = ms_since(entered);
        first_frame_wall_ms = wall_clock_ms();
      }
      if (key_pressed(mouse_button_left)) ++left_presses;
      if (key_pressed(mouse_button_right)) ++right_presses;
    } else if (event.type == ALLEGRO_EVENT_DISPLAY_CLOSE) {
      quit_requested = true;
    }
  }

  // Every tick the timer counted is either processed or still waiting in the
  // queue; anything else was lost.
  al_stop_timer(timer);
  const std::int64_t counted = al_get_timer_count(timer);
  std::int64_t waiting = 0;
  ALLEGRO_EVENT event;
  while (al_get_next_event(queue, &event)) {
    if (event.type == ALLEGRO_EVENT_TIMER) ++waiting;
  }
  if (ticks.empty()) {
    std::fprintf(stderr, "no tick ran\n");
    return 1;
  }
  const auto processed = static_cast<std::int64_t>(ticks.size());
  const std::int64_t lost = counted - processed - waiting;
  const std::vector<double> frame_ms = milliseconds(ticks, [](const tick_times& t) { return t.frame(); });

  std::printf("running game: %lld ticks, %.1f s at 60 Hz\n", static_cast<long long>(processed),
              static_cast<double>(processed) / 60.0);
  std::printf("frame time (update + draw + copy):\n");
  print_stage("frame", frame_ms);
  print_stage("update", milliseconds(ticks, [](const tick_times& t) { return t.update; }));
  print_stage("draw", milliseconds(ticks, [](const tick_times& t) { return t.draw; }));
  print_stage("copy", milliseconds(ticks, [](const tick_times& t) { return t.present; }));
  std::printf("ticks: timer counted %lld, processed %lld, still queued %lld, lost %lld\n",
              static_cast<long long>(counted), static_cast<long long>(processed), static_cast<long long>(waiting),
              static_cast<long long>(lost));
  std::printf("late ticks (the next one already queued): %lld, largest backlog %lld\n",
              static_cast<long long>(late_ticks), static_cast<long long>(largest_backlog));
  // From launch when the launcher said when that was, else from main.
  double first_frame_ms = first_frame_after_main_ms;
  std::printf("first frame: %.0f ms after main", first_frame_after_main_ms);
  if (const char* launched = std::getenv("TANK_BENCH_LAUNCH_NS")) {
    first_frame_ms = first_frame_wall_ms - std::atof(launched) / 1e6;
    std::printf(", %.0f ms after launch", first_frame_ms);
  }
  std::printf("\n  after main: start_up done %.0f ms, setup_world done %.0f ms, first tick event %.0f ms\n",
              started_ms, world_ms, first_tick_ms);
  std::printf("peak memory (VmHWM): %s; now %s, of which heap and other private memory %s, mapped files %s\n",
              process_status("VmHWM").c_str(), process_status("VmRSS").c_str(), process_status("RssAnon").c_str(),
              process_status("RssFile").c_str());
  std::printf("mouse presses seen: %d left, %d right; enemies left %d, energy %d, game state %d\n", left_presses,
              right_presses, enemies_left, energy, game_state);
  const double p99 = percentile(frame_ms, 99);
  const auto verdict = [](bool met) { return met ? "met" : "MISSED"; };
  std::printf("goals: p99 frame %.2f ms < 8 ms %s; lost ticks %lld = 0 %s; first frame %.0f ms <= 500 ms %s\n", p99,
              verdict(p99 < 8.0), static_cast<long long>(lost), verdict(lost == 0), first_frame_ms,
              verdict(first_frame_ms <= 500.0));
  if (argc > 2) write_frame_times(argv[2], ticks);
  return 0;
}
