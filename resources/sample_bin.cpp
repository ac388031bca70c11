#include <tank/resources/sample_bin.hpp>

#include <tank/resources/audio_session.hpp>
#include <tank/resources/placeholders.hpp>
#include <tank/resources/resource_kinds.hpp>

namespace tank {

constinit global_instance<sample_bin_class> samples_bin_instance;
constinit sample_bin_class& samples_bin = samples_bin_instance.object();

ALLEGRO_SAMPLE* sample_bin_class::get(const std::string& name) { return follow_audio() ? get(name, name) : nullptr; }

ALLEGRO_SAMPLE* sample_bin_class::placeholder() {
  follow_audio();
  return missing_sample;
}

void sample_bin_class::free_samples() {
  if (session != 0 && session == audio_session()) {
    for (const auto& [name, sample] : loaded) destroy_resource(sample);
    if (missing_sample) destroy_resource(missing_sample);
  }
  loaded.clear();
  missing_sample = nullptr;
  session = 0;
}

// Whether there is audio, after forgetting what an audio system that is gone
// has freed; the placeholder is loaded with each new one.
bool sample_bin_class::follow_audio() {
  const unsigned long now = audio_session();
  if (now != session) {
    loaded.clear();
    missing_sample = now != 0 ? load_sample("data/missing_sample.wav") : nullptr;
    session = now;
  }
  return now != 0;
}

ALLEGRO_SAMPLE* get_sample(const std::string& name) { return samples_bin.get(name); }

}  // namespace tank
