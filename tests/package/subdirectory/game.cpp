// Built with the framework through add_subdirectory (CMakeLists.txt beside
// it): draws a greeting from its own data/ in the default font for 30 frames
// and quits, with status 0 when start-up found the placeholders beside it.
#include <cstdio>
#include <fstream>
#include <string>

#include <tank/tank.hpp>

using namespace tank;

namespace {
std::string greeting;
int frames_drawn = 0;

void setup() { std::getline(std::ifstream("data/greeting.txt"), greeting); }

void draw() {
  draw_text(greeting, 400.0f, 300.0f, 0.5f, 0.5f);
  if (++frames_drawn == 30) quit_requested = true;
}
}  // namespace

int main() {
  const int status = run_game({.setup_world = setup, .draw = draw});
  std::printf("%d frames drawn: %s\n", frames_drawn, greeting.c_str());
  return status;
}
