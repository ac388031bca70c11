#pragma once

#include <allegro5/allegro.h>
#include <allegro5/allegro_audio.h>
#include <allegro5/allegro_font.h>

namespace tank {

// What stands in for a resource that failed to load. Start-up loads them
// (through the loaders of resources/resource_kinds.hpp); they stay null until
// then and live until the process ends, but for missing_sample: the sample
// bin keeps it with its samples, loaded afresh with each installation of the
// audio system and null while there is none (tank/resources/sample_bin.hpp).
extern ALLEGRO_BITMAP* missing_image;   // drawn in place of a missing image
extern ALLEGRO_SAMPLE* missing_sample;  // played in place of a missing sample
extern ALLEGRO_FONT* default_font;      // answers for a missing font; the overlay's font

}  // namespace tank
