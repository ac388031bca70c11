#pragma once

#include <allegro5/allegro_audio.h>

#include <string>

#include <tank/core/global.hpp>
#include <tank/resources/resource_bin.hpp>

namespace tank {

// The sample bin: sounds by file name, loaded on first use and kept while the
// audio system they were loaded in is installed, a failure recorded once like
// the other bins'. It also keeps the placeholder, missing_sample. When that
// audio system is uninstalled (it frees every sample), the bin forgets its
// samples and the placeholder, and loads them afresh once audio is back.
struct sample_bin_class : resource_bin_class<std::string, ALLEGRO_SAMPLE*> {
  unsigned long session = 0;  // the audio session (audio_session()) its samples were loaded in

  using resource_bin_class::get;
  // The named sample, loaded on first use. Null, with nothing recorded,
  // while there is no audio system: a game that may run silent asks for its
  // sounds as usual, and none of them is missing.
  ALLEGRO_SAMPLE* get(const std::string& name);
  // missing_sample, loaded from "data/missing_sample.wav" when the audio
  // session has none yet; null without audio or when it does not load.
  ALLEGRO_SAMPLE* placeholder();
  // Frees every sample and the placeholder (those an earlier audio session
  // freed already are only forgotten). The names recorded missing stay so.
  void free_samples();

 private:
  bool follow_audio();
};

// A framework global, usable from the constructors of globals in any file
// (tank/core/global.hpp).
extern global_instance<sample_bin_class> samples_bin_instance;
extern sample_bin_class& samples_bin;
static global_user<samples_bin_instance> samples_bin_user;

// The same on the global bin: loaded on first use; null when it cannot be.
ALLEGRO_SAMPLE* get_sample(const std::string& name);

}  // namespace tank
