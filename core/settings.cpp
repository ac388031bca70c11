#include <tank/core/settings.hpp>

#include <allegro5/allegro.h>

namespace tank {

int display_width = 800;
int display_height = 600;
int display_flags = ALLEGRO_WINDOWED;
bool check_gl_extensions = false;

bool quit_requested = false;
bool debug_view = false;

}  // namespace tank
