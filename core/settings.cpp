#include <tank/core/settings.hpp>

namespace tank {

int display_width = 800;
int display_height = 600;
int display_flags = ALLEGRO_WINDOWED;
bool check_gl_extensions = false;
constinit std::string window_title;
constinit std::string window_icon;

bool audio_required = true;
bool startup_report_dialog = true;
std::optional<unsigned> random_seed;
bool report_resource_failures = true;
bool smooth_images = true;

bool quit_requested = false;
bool debug_view = false;
bool game_paused = false;
double game_speed = 1.0;
// Light slate grey, (119, 136, 153), as the colour by that name gives it;
// constant, so a game may change it from a global's constructor.
constinit ALLEGRO_COLOR clear_color{119.0f / 255.0f, 136.0f / 255.0f, 153.0f / 255.0f, 1.0f};

}  // namespace tank
