// A game built with the framework through add_subdirectory (CMakeLists.txt
// beside it). It draws a greeting from its own data/ in the framework's
// default font for 30 frames, then quits by itself: status 0 when start-up
// found the placeholders that the build put beside it.
#include <cstdio>
#include <fstream>
#include <string>

#include <tank/tank.hpp>

using namespace tank;

namespace {
constexpr int frames_to_draw = 30;
std::string greeting;
int frames_drawn = 0;

void setup() {
  std::ifstream file("data/greeting.txt");
  std::getline(file, greeting);
}

void draw() {
  draw_text(greeting, 400.0f, 300.0f, 0.5f, 0.5f);
  if (++frames_drawn == frames_to_draw) quit_requested = true;
}
}  // namespace

int main() {
  const int status = run_game({.setup_world = setup, .draw = draw});
  std::printf("%d frames drawn: %s\n", frames_drawn, greeting.c_str());
  return status;
}
