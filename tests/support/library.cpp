#include "tests/support/library.hpp"

#include <allegro5/allegro.h>
#include <allegro5/allegro_acodec.h>
#include <allegro5/allegro_font.h>
#include <allegro5/allegro_image.h>
#include <allegro5/allegro_primitives.h>
#include <allegro5/allegro_ttf.h>

bool start_headless_library() {
  if (!al_is_system_installed() && !al_install_system(ALLEGRO_VERSION_INT, nullptr)) return false;
  const bool started = al_init_image_addon() && al_init_font_addon() && al_init_ttf_addon() &&
                       al_init_primitives_addon() && al_init_acodec_addon();
  al_set_new_bitmap_flags(ALLEGRO_MEMORY_BITMAP);
  return started;
}
