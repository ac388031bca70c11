#include <tank/resources/audio_session.hpp>

#include <allegro5/allegro_audio.h>

#include <tank/resources/sample_bin.hpp>
#include <tank/resources/sample_player.hpp>

namespace tank {

namespace {
// The address of the default mixer cannot tell one installation from the
// next: a new one may be given the very same memory. What can is a witness:
// an audio stream attached to a mixer of its own. Uninstalling frees every
// mixer, which detaches the stream, and leaves the stream itself alone (the
// one kind of audio object it does not free). The mixer is on no voice, so
// it never mixes anything.
struct session_witness {
  ALLEGRO_MIXER* mixer = nullptr;
  ALLEGRO_AUDIO_STREAM* stream = nullptr;
  unsigned long number = 0;
};

constinit session_witness witness;

bool witness_alive() { return witness.stream && al_get_audio_stream_attached(witness.stream); }

// The mixer is destroyed only while it is alive: otherwise its installation
// has freed it already.
void drop_witness() {
  if (witness_alive()) al_destroy_mixer(witness.mixer);
  if (witness.stream) al_destroy_audio_stream(witness.stream);
  witness.mixer = nullptr;
  witness.stream = nullptr;
}

bool make_witness() {
  ALLEGRO_MIXER* mixer = al_create_mixer(44100, ALLEGRO_AUDIO_DEPTH_FLOAT32, ALLEGRO_CHANNEL_CONF_1);
  ALLEGRO_AUDIO_STREAM* stream = al_create_audio_stream(1, 1, 44100, ALLEGRO_AUDIO_DEPTH_INT16, ALLEGRO_CHANNEL_CONF_1);
  if (stream) al_set_audio_stream_playing(stream, false);
  if (mixer && stream && al_attach_audio_stream_to_mixer(stream, mixer)) {
    witness.mixer = mixer;
    witness.stream = stream;
    return true;
  }
  if (stream) al_destroy_audio_stream(stream);
  if (mixer) al_destroy_mixer(mixer);
  return false;
}
}  // namespace

unsigned long audio_session() {
  if (witness_alive()) return witness.number;
  drop_witness();
  // Without a witness nothing could be told apart: no sound is safer than
  // one that may have been freed.
  if (!al_is_audio_installed() || !make_witness()) return 0;
  return ++witness.number;
}

void shut_down_audio() {
  sample_player.release_voices();
  samples_bin.free_samples();
  drop_witness();
  al_uninstall_audio();
}

}  // namespace tank
