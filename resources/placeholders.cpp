#include <tank/resources/placeholders.hpp>

namespace tank {

ALLEGRO_BITMAP* missing_image = nullptr;
ALLEGRO_SAMPLE* missing_sample = nullptr;
ALLEGRO_FONT* default_font = nullptr;

}  // namespace tank
