#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <tank/shell/startup.hpp>

#include "tests/support/child_process.hpp"
#include "tests/support/resident_memory.hpp"
#include "tests/support/wave_file.hpp"

using namespace tank;

namespace {

namespace fs = std::filesystem;

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

TEST(Startup, ASampleWhoseHeaderClaimsGigabytesIsReportedAndNothingLargeIsHeld) {
  const fs::path repo = fs::current_path();
  ASSERT_TRUE(fs::exists(repo / "data/lacuna.ttf")) << "run from the repository root";
  const fs::path scratch = fs::temp_directory_path() / ("tank-startup-wave-" + std::to_string(getpid()));
  fs::remove_all(scratch);
  fs::create_directories(scratch / "data");
  for (const char* file : {"data/missing_image.png", "data/lacuna.ttf"}) {
    fs::copy_file(repo / file, scratch / file);
  }
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

}  // namespace
