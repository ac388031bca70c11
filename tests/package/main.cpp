// Built with pkg-config against an installed framework, together with
// globals.cpp: ends with 0 when both global Objects were registered before
// main and the one with an image name was left without an image (the library
// was not up when it asked).
#include <cstdio>

#include <tank/objects/object.hpp>
#include <tank/objects/object_registry.hpp>
#include <tank/resources/graphics_bin.hpp>

using namespace tank;

extern Object named_global;
extern Object plain_global;

int main() {
  if (object_registry.count() != 2) {
    std::printf("registry holds %d objects, expected the 2 globals\n", object_registry.count());
    return 1;
  }
  if (named_global.bitmap != nullptr || plain_global.bitmap != nullptr) {
    std::printf("a global has an image before the library started\n");
    return 1;
  }
  // Asked before the library was up, the name was not recorded as missing.
  if (graphics_bin.is_missing("data/images/nothing_loads_yet.png")) {
    std::printf("an early request was recorded as a failure\n");
    return 1;
  }
  std::printf("2 global objects registered\n");
  return 0;
}
