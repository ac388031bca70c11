// Preloaded into a program by the window tests: makes every buffer swap wait
// for the next refresh of a display of TANK_SWAP_HZ hertz, as a driver that
// waits for the vertical blank does. The virtual display never waits.
#include <dlfcn.h>
#include <time.h>

#include <cstdint>
#include <cstdlib>

using swap_function = void (*)(void* display, unsigned long drawable);

extern "C" void glXSwapBuffers(void* display, unsigned long drawable) {
  static const auto swap = reinterpret_cast<swap_function>(dlsym(RTLD_NEXT, "glXSwapBuffers"));
  static const double hertz = [] {
    const char* text = std::getenv("TANK_SWAP_HZ");
    return text ? std::atof(text) : 0.0;
  }();
  if (swap) swap(display, drawable);
  if (hertz <= 0.0) return;

  // Sleeps to the next whole refresh period of the monotonic clock.
  const std::int64_t period = static_cast<std::int64_t>(1e9 / hertz);
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  const std::int64_t nanoseconds = std::int64_t{now.tv_sec} * 1000000000 + now.tv_nsec;
  const std::int64_t next = (nanoseconds / period + 1) * period;
  const timespec wake{static_cast<time_t>(next / 1000000000), static_cast<long>(next % 1000000000)};
  while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &wake, nullptr) != 0) {
  }
}
