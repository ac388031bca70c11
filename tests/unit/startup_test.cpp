#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <allegro5/allegro_audio.h>

#include <tank/core/settings.hpp>
#include <tank/resources/sample_bin.hpp>
#include <tank/resources/sample_player.hpp>
#include <tank/shell/startup.hpp>

#include "tests/support/child_process.hpp"
#include "tests/support/resident_memory.hpp"
#include "tests/support/wave_file.hpp"

using namespace tank;

// Under the leak checker, a child that ends through exit() would otherwise
// list the suppressed leaks on its standard error, which a test reads.
extern "C" const char* __lsan_default_options() { return "print_suppressions=0"; }

namespace {

namespace fs = std::filesystem;

// A fresh folder for a start-up run, its data/ holding the repository's
// image and font placeholders (and no sample).
fs::path scratch_with_image_and_font(const std::string& name) {
  const fs::path scratch = fs::temp_directory_path() / (name + "-" + std::to_string(getpid()));
  fs::remove_all(scratch);
  fs::create_directories(scratch / "data");
  for (const char* file : {"data/missing_image.png", "data/lacuna.ttf"}) {
    fs::copy_file(fs::current_path() / file, scratch / file);
  }
  return scratch;
}

TEST(StartupReport, OneFailure) {
  EXPECT_EQ(build_startup_report({"could not load font \"data/lacuna.ttf\""}),
            "The following errors occured during startup:\n"
            "\n"
            "could not load font \"data/lacuna.ttf\"\n"
            "\n"
            "The program must now be shut down.");
}

TEST(StartupReport, SeveralFailuresInTheOrderGiven) {
  EXPECT_EQ(build_startup_report({"Could not initialize audio.", "Could not reserve sample memory.",
                                  "Error creating the display."}),
            "The following errors occured during startup:\n\n"
            "Could not initialize audio.\nCould not reserve sample memory.\nError creating the display.\n"
            "\nThe program must now be shut down.");
}

TEST(Startup, EveryCombinationOfMissingPlaceholdersIsReportedInStepOrder) {
  const fs::path repo = fs::current_path();
  ASSERT_TRUE(fs::exists(repo / "data/lacuna.ttf")) << "run from the repository root";
  const fs::path scratch = fs::temp_directory_path() / ("tank-startup-" + std::to_string(getpid()));
  const char* placeholders[] = {"data/missing_sample.wav", "data/missing_image.png", "data/lacuna.ttf"};

  for (int missing = 0; missing < 8; ++missing) {
    for (bool audio : {true, false}) {
      fs::remove_all(scratch);
      fs::create_directories(scratch / "data");
      for (int i = 0; i < 3; ++i) {
        if (!(missing & (1 << i))) fs::copy_file(repo / placeholders[i], scratch / placeholders[i]);
      }
      std::vector<std::string> expected;
      if (!audio) {
        expected.push_back("Could not initialize audio.");
        expected.push_back("Could not reserve sample memory.");
      }
      // A sample cannot be loaded without an audio system to hold it.
      if ((missing & 1) || !audio) expected.push_back("could not load sample \"data/missing_sample.wav\"");
      expected.push_back("Error creating the display.");
      if (missing & 2) expected.push_back("could not load image \"data/missing_image.png\"");
      if (missing & 4) expected.push_back("could not load font \"data/lacuna.ttf\"");

      EXPECT_EQ(lines_from_child(scratch, audio, start_up), expected) << "missing mask " << missing << ", audio " << audio;
    }
  }
  fs::remove_all(scratch);
}

// The game decides: a game that may run silent starts without a sound device
// (or the sample placeholder), plays nothing, and the seed it named is the
// generator's.
TEST(Startup, AGameMayRunSilentAndKeepTheSeedItChose) {
  ASSERT_TRUE(fs::exists("data/lacuna.ttf")) << "run from the repository root";
  const fs::path scratch = scratch_with_image_and_font("tank-startup-silent");

  const std::vector<std::string> lines = lines_from_child(scratch, false, [] {
    audio_required = false;
    random_seed = 42u;
    std::vector<std::string> found = start_up();
    const int first = std::rand();
    std::srand(42u);
    if (std::rand() != first) found.push_back("start-up reseeded the generator");
    if (al_is_audio_installed()) found.push_back("audio is installed");
    toggle_mute();
    toggle_mute();
    set_master_volume(0.5f);
    const std::string shot = "data/sounds/shot.wav";
    if (play_sample(shot) || get_sample(shot) || samples_bin.count(true) > 0) found.push_back("a sound counted");
    return found;
  });
  EXPECT_EQ(lines, std::vector<std::string>{"Error creating the display."});
  fs::remove_all(scratch);
}

TEST(Startup, ASampleWhoseHeaderClaimsGigabytesIsReportedAndNothingLargeIsHeld) {
  ASSERT_TRUE(fs::exists("data/lacuna.ttf")) << "run from the repository root";
  const fs::path scratch = scratch_with_image_and_font("tank-startup-wave");
  // 250 bytes claiming 2 GB of sample data.
  const std::string huge = wave_file(2'000'000'000u, 206);
  ASSERT_EQ(huge.size(), 250u);
  std::ofstream(scratch / "data/missing_sample.wav", std::ios::binary) << huge;

  const std::vector<std::string> lines = lines_from_child(scratch, true, [] {
    std::vector<std::string> found = start_up();
    const long peak_mb = peak_resident_kib() / 1024;
    if (peak_mb >= 300) found.push_back("peak resident memory " + std::to_string(peak_mb) + " MB");
    return found;
  });
  EXPECT_EQ(lines, (std::vector<std::string>{"could not load sample \"data/missing_sample.wav\"",
                                             "Error creating the display."}));
  fs::remove_all(scratch);
}

// However a program ends, its sound goes before the sound library's own
// clean-up at exit, which otherwise races its mixer thread now and then:
// every voice still playing at exit() leaves status 0 and nothing on
// standard error.
TEST(Startup, AProgramThatExitsWithEveryVoicePlayingEndsCleanly) {
  ASSERT_TRUE(fs::exists("data/lacuna.ttf")) << "run from the repository root";
  const fs::path scratch = scratch_with_image_and_font("tank-startup-end");
  fs::copy_file("data/missing_sample.wav", scratch / "data/missing_sample.wav");
  std::ofstream(scratch / "data/long.wav", std::ios::binary) << wave_file(20 * 88200, 20 * 88200);

  const std::vector<std::string> lines = lines_from_child(scratch, true, [] {
    if (!std::freopen("stderr.txt", "w", stderr)) return std::vector<std::string>{"no stderr.txt"};
    start_up();  // no display here: only its sound matters
    for (int i = 0; i < sample_voice_count; ++i) {
      if (!play_sample("data/long.wav")) std::fputs("a sound did not start\n", stderr);
    }
    std::exit(0);
  });
  EXPECT_EQ(lines, std::vector<std::string>{});
  std::ostringstream standard_error;
  standard_error << std::ifstream(scratch / "stderr.txt").rdbuf();
  EXPECT_EQ(standard_error.str(), "");
  fs::remove_all(scratch);
}

}  // namespace
