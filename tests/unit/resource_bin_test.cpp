#include <allegro5/allegro.h>
#include <allegro5/allegro_audio.h>
#include <allegro5/allegro_font.h>
#include <allegro5/allegro_image.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <tank/core/settings.hpp>
#include <tank/resources/font_bin.hpp>
#include <tank/resources/graphics_bin.hpp>
#include <tank/resources/placeholders.hpp>
#include <tank/resources/resource_bin.hpp>
#include <tank/resources/resource_kinds.hpp>
#include <tank/resources/to_text.hpp>

#include "tests/support/library.hpp"
#include "tests/support/wave_file.hpp"

using namespace tank;

namespace fs = std::filesystem;

namespace {

std::string test_font_source() {
  return fs::exists("data/lacuna.ttf") ? "data/lacuna.ttf"
                                       : "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
}

class ResourceBinTest : public ::testing::Test {
 protected:
  static inline fs::path scratch;
  static inline std::string image, font;  // real files in the scratch folder

  static void SetUpTestSuite() {
    ASSERT_TRUE(start_headless_library());
    scratch = fs::temp_directory_path() / ("tank_resource_bin_" + std::to_string(getpid()));
    fs::create_directories(scratch);
    font = (scratch / "font.ttf").string();
    fs::copy_file(test_font_source(), font);
    image = (scratch / "image.png").string();
    write_image(image);
  }
  static void TearDownTestSuite() {
    fs::remove_all(scratch);
    al_uninstall_system();
  }

  // 2 x 1: a half-transparent red pixel, then an opaque blue one.
  static void write_image(const std::string& path) {
    ALLEGRO_BITMAP* bitmap = al_create_bitmap(2, 1);
    al_set_target_bitmap(bitmap);
    al_put_pixel(0, 0, al_map_rgba(255, 0, 0, 128));
    al_put_pixel(1, 0, al_map_rgba(0, 0, 255, 255));
    al_set_target_bitmap(nullptr);
    al_save_bitmap(path.c_str(), bitmap);
    al_destroy_bitmap(bitmap);
  }

  void TearDown() override { default_font = nullptr; }
};

TEST_F(ResourceBinTest, MissingImageIsRecordedOnceAndNeverRetried) {
  graphics_bin_class bin;
  const std::string name = (scratch / "absent.png").string();
  testing::internal::CaptureStderr();
  EXPECT_EQ(bin.get(name), nullptr);
  EXPECT_EQ(bin.get(name), nullptr);
  const std::string said = testing::internal::GetCapturedStderr();
  EXPECT_EQ(bin.errors, std::vector<std::string>{"could not load image \"" + name + "\""});
  EXPECT_EQ(said, std::string(program_invocation_short_name) + ": " + bin.errors[0] + "\n") << "named once";
  EXPECT_EQ(bin.missing_count(), 1);
  EXPECT_TRUE(bin.is_missing(name));
  EXPECT_FALSE(bin.is_loaded(name));
}

TEST_F(ResourceBinTest, PresentImageLoadsOnceAndKeepsItsHandle) {
  const std::string copy = (scratch / "copy.png").string();
  fs::copy_file(image, copy);
  graphics_bin_class bin;
  ALLEGRO_BITMAP* first = bin.get(copy);
  ASSERT_NE(first, nullptr);
  fs::remove(copy);  // a second load would fail now
  EXPECT_EQ(bin.get(copy), first);
  EXPECT_TRUE(bin.errors.empty());
  destroy_resource(first);
}

TEST_F(ResourceBinTest, ImagesAreFilteredUnlessTheGameAsksForSharpOnes) {
  ALLEGRO_BITMAP* smooth = load_image(image);
  smooth_images = false;
  ALLEGRO_BITMAP* sharp = load_image(image);
  smooth_images = true;
  ASSERT_TRUE(smooth && sharp);
  EXPECT_TRUE(al_get_bitmap_flags(smooth) & ALLEGRO_MAG_LINEAR);
  EXPECT_FALSE(al_get_bitmap_flags(sharp) & (ALLEGRO_MIN_LINEAR | ALLEGRO_MAG_LINEAR));
  destroy_resource(smooth);
  destroy_resource(sharp);
}

TEST_F(ResourceBinTest, CountsWithAndWithoutMissing) {
  graphics_bin_class bin;
  bin.get(image);
  bin.get((scratch / "absent.png").string());
  EXPECT_EQ(bin.count(true), 2);
  EXPECT_EQ(bin.count(false), 1);
  EXPECT_EQ(bin.missing_count(), 1);
  destroy_resource(bin.get(image));
}

TEST_F(ResourceBinTest, ImagesKeepStraightAlpha) {
  ALLEGRO_BITMAP* bitmap = load_image(image);
  ASSERT_NE(bitmap, nullptr);
  unsigned char r, g, b, a;
  al_unmap_rgba(al_get_pixel(bitmap, 0, 0), &r, &g, &b, &a);
  EXPECT_EQ(r, 255);  // premultiplied it would read 128
  EXPECT_EQ(a, 128);
  destroy_resource(bitmap);
}

TEST_F(ResourceBinTest, OneFontFileAtTwoSizesIsTwoFonts) {
  font_bin_class bin;
  ALLEGRO_FONT* small = bin.get_font(font, -16);
  ALLEGRO_FONT* large = bin.get_font(font, -40);
  ASSERT_NE(small, nullptr);
  ASSERT_NE(large, nullptr);
  EXPECT_NE(small, large);
  EXPECT_EQ(bin.get_font(font, -16), small);
  EXPECT_EQ(bin.count(false), 2);
  EXPECT_LT(al_get_font_line_height(small), al_get_font_line_height(large));
  destroy_resource(small);
  destroy_resource(large);
}

TEST_F(ResourceBinTest, MissingFontNamesEachSizeAndFallsBackToDefaultFont) {
  default_font = load_font(font, -20);
  ASSERT_NE(default_font, nullptr);
  font_bin_class bin;
  const std::string name = (scratch / "absent.ttf").string();
  EXPECT_EQ(bin.get_font(name, -16), default_font);
  EXPECT_EQ(bin.get_font(name, -40), default_font);
  EXPECT_EQ(bin.get_font(name, -40), default_font);
  EXPECT_EQ(bin.errors, (std::vector<std::string>{"could not load font \"" + name + "\" (size -16)",
                                                  "could not load font \"" + name + "\" (size -40)"}));
  EXPECT_TRUE(bin.is_missing(font_key{name, -40}));
  EXPECT_EQ(bin.count(true), 2);
  EXPECT_EQ(bin.count(false), 0);
  destroy_resource(default_font);
}

TEST_F(ResourceBinTest, SamplesLoadOnlyWithAudioInstalled) {
  const std::string wav = (scratch / "blip.wav").string();
  std::ofstream(wav, std::ios::binary) << wave_file(128, 128);  // a short silence
  al_uninstall_audio();
  EXPECT_EQ(load_sample(wav), nullptr);  // the library itself would crash here

  resource_bin_class<std::string, ALLEGRO_SAMPLE*> bin;
  const std::string absent = (scratch / "absent.wav").string();
  EXPECT_EQ(bin.get(absent, absent), nullptr);
  EXPECT_EQ(bin.errors, std::vector<std::string>{"could not load sample \"" + absent + "\""});

  setenv("ALSOFT_DRIVERS", "null", 1);  // a silent output device
  if (!al_install_audio()) GTEST_SKIP() << "no audio system even with a silent device";
  ALLEGRO_SAMPLE* sample = load_sample(wav);
  EXPECT_NE(sample, nullptr);
  EXPECT_EQ(load_sample(absent), nullptr);
  if (sample) destroy_resource(sample);
  al_uninstall_audio();
}

TEST(ToText, WritesPlainDecimal) {
  EXPECT_EQ(to_text(0), "0");
  EXPECT_EQ(to_text(-20), "-20");
  EXPECT_EQ(to_text(1200), "1200");
  EXPECT_EQ(to_text(INT_MIN), "-2147483648");
}

}  // namespace
