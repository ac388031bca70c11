#include <allegro5/allegro.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include <tank/resources/wave_header.hpp>

#include "tests/support/wave_files.hpp"

namespace {

namespace fs = std::filesystem;

struct WaveHeader : ::testing::Test {
  fs::path folder = fs::temp_directory_path() / ("tank-wave-" + std::to_string(getpid()));

  void SetUp() override {
    ASSERT_TRUE(al_install_system(ALLEGRO_VERSION_INT, nullptr));
    fs::create_directories(folder);
  }
  void TearDown() override { fs::remove_all(folder); }

  bool overstated(const std::string& bytes) {
    const fs::path path = folder / "sound.wav";
    write_bytes(path, bytes);
    return wave_header_overstates_size(path.string());
  }
};

TEST_F(WaveHeader, DataClaimingMoreThanTheFileHoldsIsCaught) {
  // 250 bytes that claim 2 GB of samples.
  const std::string huge = wave_file(riff_chunk("data", 2'000'000'000u, 206));
  ASSERT_EQ(huge.size(), 250u);
  EXPECT_TRUE(overstated(huge));
  EXPECT_TRUE(overstated(wave_file(riff_chunk("data", 101, 100)))) << "one byte short";
  EXPECT_TRUE(overstated(wave_file(riff_chunk("data", 0xFFFFFFFFu, 10))));
  // A chunk before the data that runs past the end hides where the data is.
  EXPECT_TRUE(overstated(wave_file(riff_chunk("LIST", 5000, 4) + riff_chunk("data", 100, 100))));
}

TEST_F(WaveHeader, FilesThatHoldWhatTheyClaimPass) {
  EXPECT_FALSE(overstated(wave_file(riff_chunk("data", 100, 100))));
  EXPECT_FALSE(overstated(wave_file(riff_chunk("data", 0, 0))));
  EXPECT_FALSE(overstated(wave_file(riff_chunk("data", 99, 99))))
      << "odd data without its pad byte at the end";
  EXPECT_FALSE(overstated(wave_file(riff_chunk("LIST", 7, 8) + riff_chunk("data", 100, 100))))
      << "padded chunk";
  EXPECT_FALSE(overstated(wave_file(riff_chunk("data", 100, 100) + riff_chunk("LIST", 9999, 0))))
      << "only what comes up to the data counts";
}

TEST_F(WaveHeader, OtherFilesAreLeftToTheLibrary) {
  EXPECT_FALSE(overstated(""));
  EXPECT_FALSE(overstated("OggS" + std::string(200, '\xff')));
  EXPECT_FALSE(
      overstated("RIFF\xff\xff\xff\x7f"
                 "AVI " +
                 riff_chunk("data", 2'000'000'000u, 4)));
  EXPECT_FALSE(overstated(std::string("RIFF\x04\0\0\0WAVE", 12))) << "no chunk at all";
  EXPECT_FALSE(wave_header_overstates_size((folder / "no-such-file.wav").string()));
}

}  // namespace
