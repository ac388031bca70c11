// A program on the framework for the window tests of the loop: it counts its
// updates and frames and writes them to standard output once a second of
// wall time and when it ends.
//
//   loop_probe [--draw-ms N] [--size N] [--title TEXT] [--icon FILE] [--speed X]
//
// --draw-ms makes every frame take N milliseconds more, as a game that draws
// too much for its machine; the others set window and frame size (N x N),
// window_title, window_icon and game_speed.
#include <allegro5/allegro.h>

#include <cstdio>
#include <cstring>
#include <cstdlib>

#include <tank/tank.hpp>

using namespace tank;

namespace {
double draw_seconds = 0.0;
double started = 0.0;
int updates = 0;
int frames = 0;
int seconds_reported = 0;

void report(const char* what) {
  std::printf("%s updates %d frames %d seconds %.3f\n", what, updates, frames, al_get_time() - started);
  std::fflush(stdout);
}

void setup() { started = al_get_time(); }

void update() {
  ++updates;
  if (al_get_time() - started >= seconds_reported + 1) {
    ++seconds_reported;
    report("second");
  }
}

void draw() {
  ++frames;
  if (draw_seconds > 0.0) al_rest(draw_seconds);
}
}  // namespace

int main(int argc, char** argv) {
  for (int i = 1; i + 1 < argc; i += 2) {
    if (std::strcmp(argv[i], "--draw-ms") == 0) draw_seconds = std::atof(argv[i + 1]) / 1000.0;
    if (std::strcmp(argv[i], "--size") == 0) display_width = display_height = std::atoi(argv[i + 1]);
    if (std::strcmp(argv[i], "--title") == 0) window_title = argv[i + 1];
    if (std::strcmp(argv[i], "--icon") == 0) window_icon = argv[i + 1];
    if (std::strcmp(argv[i], "--speed") == 0) game_speed = std::atof(argv[i + 1]);
  }
  audio_required = false;
  startup_report_dialog = false;
  const int status = run_game({.setup_world = setup, .update = update, .draw = draw});
  report("end");
  return status;
}
