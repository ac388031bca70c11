#pragma once

#include <allegro5/allegro_audio.h>

#include <string>

#include <tank/core/global.hpp>
#include <tank/resources/resource_bin.hpp>

namespace tank {

// The sample bin: sounds by file name, loaded on first use and kept for the
// run, a failure recorded once like the other bins'.
struct sample_bin_class : resource_bin_class<std::string, ALLEGRO_SAMPLE*> {
  using resource_bin_class::get;
  // The named sample, loaded on first use. Null, with nothing recorded,
  // while there is no audio system: a game that may run silent asks for its
  // sounds as usual, and none of them is missing.
  ALLEGRO_SAMPLE* get(const std::string& name) { return al_is_audio_installed() ? get(name, name) : nullptr; }
};

// A framework global, usable from the constructors of globals in any file
// (tank/core/global.hpp).
extern global_instance<sample_bin_class> samples_bin_instance;
extern sample_bin_class& samples_bin;
static global_user<samples_bin_instance> samples_bin_user;

// The same on the global bin: loaded on first use; null when it cannot be.
ALLEGRO_SAMPLE* get_sample(const std::string& name);

}  // namespace tank
