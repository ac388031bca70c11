// Preloaded into the game by the window tests: records the text of the
// start-up report, which cannot be read off the screen, in the file named by
// TANK_REPORT_SPY, then shows the box as usual.
#include <dlfcn.h>

#include <cstdio>
#include <cstdlib>

struct ALLEGRO_DISPLAY;

extern "C" int al_show_native_message_box(ALLEGRO_DISPLAY* display, const char* title, const char* heading,
                                          const char* text, const char* buttons, int flags) {
  if (const char* path = std::getenv("TANK_REPORT_SPY")) {
    if (std::FILE* file = std::fopen(path, "a")) {
      std::fprintf(file, "%s\n%s\n%s", title, heading, text);
      std::fclose(file);
    }
  }
  using show_function = int (*)(ALLEGRO_DISPLAY*, const char*, const char*, const char*, const char*, int);
  const auto show = reinterpret_cast<show_function>(dlsym(RTLD_NEXT, "al_show_native_message_box"));
  return show ? show(display, title, heading, text, buttons, flags) : 0;
}
