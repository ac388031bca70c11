// Built with the framework through add_subdirectory (CMakeLists.txt beside
// it): draws 30 frames and quits, with status 0 when start-up found the
// placeholders that the build put beside it.
#include <tank/tank.hpp>

namespace {
int frames_drawn = 0;

void draw() {
  if (++frames_drawn == 30) tank::quit_requested = true;
}
}  // namespace

int main() { return tank::run_game({.draw = draw}); }
