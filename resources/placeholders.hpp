#pragma once

#include <allegro5/allegro.h>
#include <allegro5/allegro_audio.h>
#include <allegro5/allegro_font.h>

namespace tank {

// What stands in for a resource that failed to load. Start-up loads them
// (through the loaders of resources/resource_kinds.hpp); they stay null until
// then and live until the process ends.
extern ALLEGRO_BITMAP* missing_image;   // drawn in place of a missing image
extern ALLEGRO_SAMPLE* missing_sample;  // played in place of a missing sample
extern ALLEGRO_FONT* default_font;      // answers for a missing font; the overlay's font

}  // namespace tank
