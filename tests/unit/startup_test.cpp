#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include <tank/shell/startup.hpp>

#include "tests/support/child_process.hpp"

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

}  // namespace
