#include <gtest/gtest.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
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

// A 16-bit mono PCM WAV file whose data chunk claims `claimed` bytes and
// holds `held` of them.
std::string wave_file(std::uint32_t claimed, std::size_t held) {
  const auto le32 = [](std::uint32_t value) {
    std::string bytes;
    for (int i = 0; i < 4; ++i) bytes += static_cast<char>((value >> (8 * i)) & 0xFF);
    return bytes;
  };
  const std::string format = le32(0x00010001) + le32(44100) + le32(88200) + le32(0x00100002);
  const std::string form = "WAVEfmt " + le32(16) + format + "data" + le32(claimed) + std::string(held, '\0');
  return "RIFF" + le32(static_cast<std::uint32_t>(form.size())) + form;
}

// The peak resident memory of this process in MB, from the kernel's count.
long peak_resident_mb() {
  std::ifstream status("/proc/self/status");
  for (std::string field; status >> field;) {
    long kb = 0;
    if (field == "VmHWM:" && status >> kb) return kb / 1024;
  }
  return -1;
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
    const long peak = peak_resident_mb();
    if (peak >= 300) found.push_back("peak resident memory " + std::to_string(peak) + " MB");
    return found;
  });
  EXPECT_EQ(lines, (std::vector<std::string>{"could not load sample \"data/missing_sample.wav\"",
                                             "Error creating the display."}));
  fs::remove_all(scratch);
}

}  // namespace
