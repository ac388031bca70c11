#include "tests/support/silent_audio.hpp"

#include <allegro5/allegro_acodec.h>
#include <allegro5/allegro_audio.h>

#include <cstdlib>

#include <tank/resources/audio_session.hpp>
#include <tank/resources/sample_bin.hpp>

silent_audio::silent_audio() {
  setenv("ALSOFT_DRIVERS", "null", 1);
  started = al_install_audio() && al_reserve_samples(16) && al_init_acodec_addon() && tank::samples_bin.placeholder();
}

silent_audio::~silent_audio() { tank::shut_down_audio(); }
