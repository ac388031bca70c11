#pragma once

#include <allegro5/allegro_audio.h>

#include <array>
#include <string>

namespace tank {

// How one sound is played. Named fields with defaults, so that only what
// differs is written: play_sample(name, {.gain = 0.5f, .pan = -0.3f}).
struct playback {
  float gain = 1.0f;   // 1 as the file is; 0.5 half the amplitude; 0 to 16
  float pan = 0.0f;    // -1 left, 0 centre, 1 right, at equal power (each side 0.71 at the centre)
  float speed = 1.0f;  // 2 an octave up and half as long; 1/16 to 16
};

// Sounds the player keeps playing at once, besides the sixteen that start-up
// reserves for the library's own al_play_sample.
constexpr int sample_voice_count = 16;

// One of the player's sample instances and the sound it last took.
struct sample_voice {
  ALLEGRO_SAMPLE_INSTANCE* instance = nullptr;  // owned by the audio system
  float gain = 0.0f;          // as asked for, to choose the sound that gives way
  unsigned long started = 0;  // the player's count of sounds when this one began
};

// Plays samples by file name on a pool of instances of its own, attached to
// the library's default mixer when the first sound is played; the audio
// system owns them and frees them when it is uninstalled, and the player then
// makes new ones in the next audio session. Playing never blocks
// and never fails the game: with every voice busy the quietest sound (the
// oldest of equally quiet ones) gives way, unless the new one is quieter
// still, and then the new one is not played. Without an audio system (a game
// that may start without a sound device) nothing plays and nothing loads; the
// volume and the mute are kept for when there is one.
//
// The master volume and the mute are the default mixer's gain, so they also
// cover what a game plays on that mixer with the library itself. A post-
// processing callback on that mixer sees the sound before that gain.
struct sample_player_class {
  std::array<sample_voice, sample_voice_count> voices{};  // its own, beside the library's
  ALLEGRO_MIXER* mixer = nullptr;  // the voices' mixer; null until the first sound
  unsigned long session = 0;       // the audio session (audio_session()) the voices were made in
  unsigned long sounds_started = 0;  // orders the voices by age
  float volume = 1.0f;  // 0 to 1
  bool muted = false;   // nothing plays while set

  // Starts the sample at once and returns: the named file from the sample
  // bin, or missing_sample when it does not load. False when nothing was
  // started: no audio, muted (a sound is not kept for later), no sample at
  // all, or every voice busy with louder sounds.
  bool play(const std::string& name, const playback& how = {});

  void set_volume(float new_volume);  // clamped to 0 to 1
  void set_muted(bool mute);          // keeps the volume for the unmute
  // Stops and destroys the voices (those of an earlier audio session are
  // freed already and only forgotten); the next sound makes new ones.
  void release_voices();

 private:
  bool attach_voices();
  sample_voice* free_voice(float gain);
  void apply_gain();
};

// The player, constant-initialised: usable from any global's constructor (a
// game that starts muted says so there, or before run_game).
extern sample_player_class sample_player;

// The same operations on the global player.
bool play_sample(const std::string& name, const playback& how = {});
void set_master_volume(float volume);
float master_volume();
void set_muted(bool muted);
bool is_muted();
void toggle_mute();  // for a key: if (key_pressed(ALLEGRO_KEY_M)) toggle_mute();

}  // namespace tank
