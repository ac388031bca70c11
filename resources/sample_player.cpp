#include <tank/resources/sample_player.hpp>

#include <algorithm>
#include <cmath>

#include <tank/resources/audio_session.hpp>
#include <tank/resources/sample_bin.hpp>

namespace tank {

constinit sample_player_class sample_player;

namespace {
// The library refuses values outside its ranges; a NaN would pass a clamp.
float within(float value, float low, float high, float otherwise) {
  return std::isfinite(value) ? std::clamp(value, low, high) : otherwise;
}

// The mixer sounds are heard through; none without an audio system.
ALLEGRO_MIXER* default_mixer() { return al_is_audio_installed() ? al_get_default_mixer() : nullptr; }
}  // namespace

bool sample_player_class::play(const std::string& name, const playback& how) {
  if (muted || !attach_voices()) return false;
  ALLEGRO_SAMPLE* sample = samples_bin.get(name);
  if (!sample) sample = samples_bin.placeholder();
  if (!sample) return false;

  const float gain = within(how.gain, 0.0f, 16.0f, 0.0f);
  sample_voice* voice = free_voice(gain);
  if (!voice) return false;
  ALLEGRO_SAMPLE_INSTANCE* instance = voice->instance;
  // A sample of another rate or format than the last one takes the instance
  // off the mixer and puts it back; should that fail, it is put back here.
  const bool taken = al_set_sample(instance, sample);
  if (!al_get_sample_instance_attached(instance)) al_attach_sample_instance_to_mixer(instance, mixer);
  if (!taken || !al_get_sample_instance_attached(instance)) return false;
  al_set_sample_instance_gain(instance, gain);
  al_set_sample_instance_pan(instance, within(how.pan, -1.0f, 1.0f, 0.0f));
  al_set_sample_instance_speed(instance, within(how.speed, 1.0f / 16.0f, 16.0f, 1.0f));
  al_set_sample_instance_playmode(instance, ALLEGRO_PLAYMODE_ONCE);
  if (!al_play_sample_instance(instance)) return false;
  voice->gain = gain;
  voice->started = ++sounds_started;
  return true;
}

void sample_player_class::set_volume(float new_volume) {
  volume = within(new_volume, 0.0f, 1.0f, volume);
  apply_gain();
}

void sample_player_class::set_muted(bool mute) {
  muted = mute;
  apply_gain();
}

void sample_player_class::release_voices() {
  if (session != 0 && session == audio_session()) {
    for (sample_voice& voice : voices) {
      if (!voice.instance) continue;
      al_stop_sample_instance(voice.instance);
      al_destroy_sample_instance(voice.instance);
    }
  }
  voices = {};
  mixer = nullptr;
  session = 0;
}

bool sample_player_class::attach_voices() {
  // Voices made in an audio session that is over were freed with it; those
  // on a default mixer the game has since replaced are no longer heard.
  const unsigned long now = audio_session();
  ALLEGRO_MIXER* current = now != 0 ? al_get_default_mixer() : nullptr;
  if (now != session || current != mixer) release_voices();
  if (!current) return false;
  if (mixer) return true;

  session = now;
  for (sample_voice& voice : voices) {
    voice.instance = al_create_sample_instance(nullptr);
    if (!voice.instance || !al_attach_sample_instance_to_mixer(voice.instance, current)) {
      release_voices();
      return false;
    }
  }
  mixer = current;
  apply_gain();
  return true;
}

// A voice that is not playing; else the quietest sound gives way, the oldest
// of equally quiet ones; null when the new sound is quieter than all of them.
sample_voice* sample_player_class::free_voice(float gain) {
  sample_voice* quietest = nullptr;
  for (sample_voice& voice : voices) {
    if (!al_get_sample_instance_playing(voice.instance)) return &voice;
    if (!quietest || voice.gain < quietest->gain ||
        (voice.gain == quietest->gain && voice.started < quietest->started)) {
      quietest = &voice;
    }
  }
  if (gain < quietest->gain) return nullptr;
  al_stop_sample_instance(quietest->instance);
  return quietest;
}

// Applied as soon as there is a mixer, and again whenever either changes.
void sample_player_class::apply_gain() {
  if (ALLEGRO_MIXER* current = default_mixer()) al_set_mixer_gain(current, muted ? 0.0f : volume);
}

bool play_sample(const std::string& name, const playback& how) { return sample_player.play(name, how); }
void set_master_volume(float volume) { sample_player.set_volume(volume); }
float master_volume() { return sample_player.volume; }
void set_muted(bool muted) { sample_player.set_muted(muted); }
bool is_muted() { return sample_player.muted; }
void toggle_mute() { sample_player.set_muted(!sample_player.muted); }

}  // namespace tank
