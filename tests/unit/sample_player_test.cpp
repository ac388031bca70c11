// Sounds played on the silent output device: what a full pool gives up, the
// placeholder and the mute. What a voice plays is read back from the voice (as
// sample data: it holds a copy of the sample's description, not the sample).
#include <allegro5/allegro_audio.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <string>

#include <tank/resources/placeholders.hpp>
#include <tank/resources/sample_bin.hpp>
#include <tank/resources/sample_player.hpp>

#include "tests/support/library.hpp"
#include "tests/support/silent_audio.hpp"
#include "tests/support/wave_file.hpp"

using namespace tank;

namespace {

void* data_of(ALLEGRO_SAMPLE_INSTANCE* voice) { return al_get_sample_data(al_get_sample(voice)); }

// A WAV of `bytes` bytes of sound in the temporary folder, named for this process.
std::string scratch_wave(const std::string& stem, int bytes) {
  const std::string name = std::filesystem::temp_directory_path() / (stem + "-" + std::to_string(getpid()) + ".wav");
  std::ofstream(name, std::ios::binary) << wave_file(bytes, bytes);
  return name;
}

TEST(SamplePlayer, AFullPoolGivesWayToTheQuietestThenTheOldestAndMuteIsTheMixersGain) {
  ASSERT_TRUE(start_headless_library());
  const silent_audio audio;
  ASSERT_TRUE(audio.started);
  // Twenty seconds long: every sound is still playing when the test looks.
  const std::string name = scratch_wave("tank-sample", 20 * 88200);
  for (int i = 0; i < sample_voice_count; ++i) ASSERT_TRUE(play_sample(name, {.gain = i == 5 ? 0.5f : 1.0f}));
  EXPECT_FALSE(play_sample(name, {.gain = 0.25f})) << "quieter than every sound playing";
  EXPECT_TRUE(play_sample("data/sounds/no_such.wav"));
  EXPECT_TRUE(play_sample(name, {.pan = NAN, .speed = -1.0f}));
  EXPECT_EQ(data_of(sample_player.voices[5].instance), al_get_sample_data(missing_sample)) << "quietest";
  EXPECT_EQ(sample_player.voices[0].started, 18u) << "then the oldest";
  EXPECT_EQ(samples_bin.count(true), 2);
  EXPECT_EQ(samples_bin.missing_count(), 1);

  set_master_volume(0.5f);
  toggle_mute();
  EXPECT_EQ(al_get_mixer_gain(al_get_default_mixer()), 0.0f);
  EXPECT_FALSE(play_sample(name)) << "not kept for later";
  toggle_mute();
  EXPECT_EQ(al_get_mixer_gain(al_get_default_mixer()), 0.5f);
  std::filesystem::remove(name);
}

// The game restarts its sound itself: the samples the old audio system freed
// are forgotten and loaded afresh, placeholder included.
TEST(SamplePlayer, AfterAnAudioRestartTheSameNamesLoadAfresh) {
  ASSERT_TRUE(start_headless_library());
  const silent_audio audio;
  ASSERT_TRUE(audio.started);
  const std::string name = scratch_wave("tank-restart", 8820);  // 4410 frames at 44.1 kHz
  ASSERT_TRUE(play_sample(name));
  ASSERT_TRUE(play_sample("data/sounds/no_such.wav"));

  al_uninstall_audio();
  ASSERT_TRUE(al_install_audio() && al_reserve_samples(16));
  ALLEGRO_SAMPLE* again = get_sample(name);
  ASSERT_NE(again, nullptr);
  EXPECT_EQ(al_get_sample_length(again), 4410u);
  EXPECT_EQ(al_get_sample_frequency(again), 44100u);
  EXPECT_TRUE(play_sample("data/sounds/no_such.wav")) << "the placeholder, loaded again";
  ASSERT_NE(missing_sample, nullptr);
  EXPECT_GT(al_get_sample_length(missing_sample), 0u);
  std::filesystem::remove(name);
}

}  // namespace
