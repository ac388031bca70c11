// Every image and font the game reads, the title's sound and the three
// placeholders, replaced in a scratch copy of data/ by an empty file, by
// random bytes or by the first half of the file; the two sounds also by WAV
// files damaged inside (no format, a format after the data, no data, a rate
// no real file has, a million empty chunks). Each case runs
// in a child process of its own from the scratch folder (the library and the
// game's globals start once per process): start-up with no display, then, as the program would, a few
// seconds of random play drawn into a memory frame. The child writes what it
// found as lines of text; the parent compares them with what is expected.
#include <allegro5/allegro.h>
#include <allegro5/allegro_audio.h>
#include <allegro5/allegro_font.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <ostream>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include <tank/input/controls.hpp>
#include <tank/objects/object.hpp>
#include <tank/objects/object_registry.hpp>
#include <tank/resources/font_bin.hpp>
#include <tank/resources/graphics_bin.hpp>
#include <tank/resources/placeholders.hpp>
#include <tank/resources/sample_bin.hpp>
#include <tank/resources/sample_player.hpp>
#include <tank/shell/startup.hpp>

#include "app/config.hpp"
#include "game/world.hpp"
#include "tests/support/bitmaps.hpp"
#include "tests/support/child_process.hpp"
#include "tests/support/headless_driver.hpp"
#include "tests/support/random_player.hpp"
#include "tests/support/wave_file.hpp"

using namespace tank;

namespace {

namespace fs = std::filesystem;

// After first_half: WAV files whose headers hold what no real recording has.
enum class damage { empty, random_bytes, first_half, no_format, format_after_data, no_data, one_hertz, million_chunks };

struct damage_case {
  std::string file;  // as the game names it, relative to the working directory
  damage kind = damage::empty;
};

const char* const damaged_files[] = {
    "data/images/tank.png",      "data/images/turret.png",       "data/images/bullet.png",
    "data/images/sheild.png",    "data/images/enemy_bullet.png", "data/images/crosshair.png",
    "data/images/vignette2.png", "data/fonts/StencilStd.otf",    "data/fonts/lacuna.ttf",
    "data/missing_image.png",    "data/missing_sample.wav",      "data/lacuna.ttf",
    "data/sounds/title.wav",
};
// Played at once, by the world's setup.
const char* const damaged_sounds[] = {"data/sounds/title.wav", "data/missing_sample.wav"};

const std::string display_failure = "Error creating the display.";  // always: the tests have no display

std::string quoted(const std::string& text) { return "\"" + text + "\""; }
bool ends_with(const std::string& text, const std::string& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// Every damage here makes the file fail to load. Two would slip past the
// library: the first half of a TrueType font opens (the tables it reads on
// opening come first; the glyphs then draw as nothing), and so does the first
// half of a WAV file (the header gives the length). The loaders refuse both,
// and every WAV file damaged inside.

bool is_placeholder(const std::string& file) {
  return file == "data/missing_image.png" || file == "data/missing_sample.wav" || file == "data/lacuna.ttf";
}

// ---------------------------------------------------------------------------
// What the child finds, in the order it looks.

const int play_ticks = 180;  // three seconds of game time
const int draw_every = 3;

// Random mouse and buttons, and F1 now and then for the debug view.
void play(headless_driver_class& game) {
  random_player_class player(5);
  for (int tick = 1; tick <= play_ticks; ++tick) {
    if (player.one_in(10)) player.jump(game.input, 0);
    player.flicker(game.input, {mouse_button_left, mouse_button_right, ALLEGRO_KEY_F1}, 8);
    game.tick(tick % draw_every == 0);
  }
}

// What a drawn pixel may differ by after 8-bit rounding.
const float pixel_tolerance = 2.5f / 255.0f;

bool near(const ALLEGRO_COLOR& a, const ALLEGRO_COLOR& b) { return rgb_near(a, b, pixel_tolerance); }

struct box {
  int left = 0, top = 0, right = 0, bottom = 0;  // right and bottom excluded
  bool contains(const box& other) const {
    return other.left >= left && other.top >= top && other.right <= right && other.bottom <= bottom;
  }
};

// The pixels in which two frames differ: their number and bounding box.
struct difference {
  int count = 0;
  box bounds{1 << 20, 1 << 20, -1, -1};
};

difference compare(ALLEGRO_BITMAP* a, ALLEGRO_BITMAP* b) {
  difference d;
  for (const auto& [x, y] : differing_pixels(a, b, pixel_tolerance)) {
    ++d.count;
    d.bounds = {std::min(d.bounds.left, x), std::min(d.bounds.top, y), std::max(d.bounds.right, x + 1),
                std::max(d.bounds.bottom, y + 1)};
  }
  return d;
}

// The frame with `target` alone among the objects, and the same frame without
// it; the vignette is clear at the centre of the screen, where the target is
// put. Returns the first, the second is left in game.frame.
ALLEGRO_BITMAP* frames_with_and_without(headless_driver_class& game, Object& target) {
  for (Object& object : object_registry.in_order()) {
    if (&object != &target) object.opacity_animators.set_value(0.0f);
  }
  debug_view = false;
  target.set_position({400.0f, 300.0f});
  target.scale_x_animators.set_value(1.0f);
  target.scale_y_animators.set_value(1.0f);
  target.color_animators.set_value(al_map_rgba_f(1, 1, 1, 1));
  // Fully opaque, unless it is drawn additively: the shields keep their glow.
  if (target.blend_mode != blend_mode::additive) target.opacity_animators.set_value(1.0f);
  game.draw();
  ALLEGRO_BITMAP* with = al_clone_bitmap(game.frame);
  const float opacity = target.opacity;
  target.opacity_animators.set_value(0.0f);
  game.draw();
  target.opacity_animators.set_value(opacity);
  return with;
}

// Where an object's image failed, the placeholder stands at its anchor
// point, unscaled, in the object's tint and blend mode; nothing else of the
// frame depends on the object.
std::string placeholder_for_object(headless_driver_class& game, Object& target, const std::string& file) {
  ALLEGRO_BITMAP* with = frames_with_and_without(game, target);
  const int w = al_get_bitmap_width(missing_image);
  const int h = al_get_bitmap_height(missing_image);
  const box placed{400, 300, 400 + w, 300 + h};
  const difference d = compare(with, game.frame);
  int matching = 0;
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      const ALLEGRO_COLOR p = al_get_pixel(missing_image, x, y);
      ALLEGRO_COLOR expected = p;
      if (target.blend_mode == blend_mode::additive) {  // additive: the tint is the opacity's share of white
        const ALLEGRO_COLOR under = al_get_pixel(game.frame, 400 + x, 300 + y);
        expected = al_map_rgba_f(std::min(1.0f, under.r + target.opacity * p.r),
                                 std::min(1.0f, under.g + target.opacity * p.g),
                                 std::min(1.0f, under.b + target.opacity * p.b), 1.0f);
      }
      matching += near(al_get_pixel(with, 400 + x, 300 + y), expected);
    }
  }
  al_destroy_bitmap(with);
  if (d.count == 0 || !placed.contains(d.bounds) || matching != w * h) {
    return "placeholder not drawn for " + file + ": " + std::to_string(d.count) + " pixels changed, " +
           std::to_string(matching) + " of " + std::to_string(w * h) + " as the placeholder";
  }
  return "placeholder drawn for " + file;
}

// A HUD image drawn by name: the placeholder's top-left corner at (x, y).
std::string placeholder_at(headless_driver_class& game, int x, int y, const std::string& file) {
  const int w = al_get_bitmap_width(missing_image);
  const int h = al_get_bitmap_height(missing_image);
  int matching = 0;
  for (int j = 0; j < h; ++j) {
    for (int i = 0; i < w; ++i) {
      matching += near(game.pixel(x + i, y + j), al_get_pixel(missing_image, i, j));
    }
  }
  if (matching != w * h) {
    return "placeholder not drawn for " + file + ": " + std::to_string(matching) + " of " +
           std::to_string(w * h) + " pixels as the placeholder";
  }
  return "placeholder drawn for " + file;
}

std::string placeholder_check(headless_driver_class& game, const std::string& file) {
  if (file == "data/images/crosshair.png") {
    game.input.move_mouse(400, 300);
    debug_view = false;
    game.tick(true);
    return placeholder_at(game, 400, 300, file);
  }
  if (file == "data/images/vignette2.png") {
    game.draw();
    return placeholder_at(game, 0, 0, file);
  }
  Object* target = nullptr;
  if (file == "data/images/tank.png") target = &left_tank;
  if (file == "data/images/turret.png") target = &left_turret;
  if (file == "data/images/bullet.png") target = &bullet_1;
  if (file == "data/images/sheild.png") target = &left_shield;
  if (file == "data/images/enemy_bullet.png") target = enemies.front().get();
  return placeholder_for_object(game, *target, file);
}

// The texts of the title and the end of the game, made in the default font:
// the title, shown alone, changes the frame only within the default font's
// rendering of "TANK" centred on its place.
std::string default_font_for_titles(headless_driver_class& game) {
  const std::pair<Object*, const char*> texts[] = {{&title_text, "TANK"},
                                                   {&win_text, "WIN"},
                                                   {&win_subtext, "That's all for now folks!"},
                                                   {&fail_text, "FAIL"},
                                                   {&fail_subtext, "The ESC key is your only way out."}};
  for (const auto& [object, words] : texts) {
    if (object->bitmap == nullptr || object->bitmap != fonts_bin.get_text_bitmap(default_font, words)) {
      return std::string("not in the default font: ") + words;
    }
  }
  ALLEGRO_BITMAP* with = frames_with_and_without(game, title_text);
  const difference d = compare(with, game.frame);
  al_destroy_bitmap(with);
  const int w = al_get_bitmap_width(title_text.bitmap);
  const int h = al_get_bitmap_height(title_text.bitmap);
  const box placed{400 - w / 2, 300 - h / 2, 400 - w / 2 + w, 300 - h / 2 + h};
  if (h != al_get_font_line_height(default_font) || d.count == 0 || !placed.contains(d.bounds)) {
    return "TANK not drawn in the default font: " + std::to_string(d.count) + " pixels changed";
  }
  return "titles drawn in the default font";
}

// The HUD's "Energy" in the default font: where the rendered text is solid,
// the frame is white under the vignette's shade.
std::string default_font_for_hud(headless_driver_class& game) {
  ALLEGRO_BITMAP* energy = fonts_bin.get_text_bitmap(default_font, "Energy");
  ALLEGRO_BITMAP* vignette = graphics_bin.get("data/images/vignette2.png");
  debug_view = false;
  game.input.move_mouse(700, 100);
  game.tick(true);
  int solid = 0;
  int matching = 0;
  for (int y = 0; y < al_get_bitmap_height(energy); ++y) {
    for (int x = 0; x < al_get_bitmap_width(energy); ++x) {
      if (al_get_pixel(energy, x, y).a < 1.0f) continue;
      ++solid;
      const float shade = 1.0f - al_get_pixel(vignette, 30 + x, 500 + y).a;
      matching += near(game.pixel(30 + x, 500 + y), al_map_rgba_f(shade, shade, shade, 1.0f));
    }
  }
  if (al_get_bitmap_height(energy) != al_get_font_line_height(default_font) || solid == 0 ||
      matching != solid) {
    return "Energy not drawn in the default font: " + std::to_string(matching) + " of " +
           std::to_string(solid);
  }
  return "HUD drawn in the default font";
}

// The title's sound, just played by the world's setup: when it failed, the
// placeholder plays in its place.
std::string title_sound_check(const std::string& file) {
  ALLEGRO_SAMPLE_INSTANCE* voice = sample_player.voices[0].instance;
  const bool placeholder = voice && al_get_sample_data(al_get_sample(voice)) == al_get_sample_data(missing_sample);
  return samples_bin.is_missing(file) ? std::string(placeholder ? "" : "not ") + "placeholder played for " + file : "";
}

std::vector<std::string> what_the_child_finds(const damage_case& c) {
  std::vector<std::string> found;
  const std::vector<std::string> messages = start_up();
  for (const std::string& message : messages) found.push_back("start-up: " + message);
  // A failed placeholder ends the program after the report: no frame is drawn.
  if (messages.size() > 1) return found;

  headless_driver_class& game = shared_driver();
  const std::string title_sound = title_sound_check(c.file);
  play(game);
  found.push_back("played " + std::to_string(game.ticks) + " ticks");
  for (const std::string& message : graphics_bin.errors) found.push_back("image bin: " + message);
  for (const std::string& message : fonts_bin.errors) found.push_back("font bin: " + message);
  for (const std::string& message : samples_bin.errors) found.push_back("sample bin: " + message);
  if (!title_sound.empty()) found.push_back(title_sound);

  if (graphics_bin.is_missing(c.file)) found.push_back(placeholder_check(game, c.file));
  if (fonts_bin.is_missing({c.file, -110})) found.push_back(default_font_for_titles(game));
  if (fonts_bin.is_missing({c.file, -40}) && c.file == "data/fonts/lacuna.ttf") {
    found.push_back(default_font_for_hud(game));
  }
  return found;
}

// `fails`: whether the damaged file fails to load.
std::vector<std::string> expected_findings(const damage_case& c, bool fails) {
  std::vector<std::string> expected;
  if (fails && c.file == "data/missing_sample.wav")
    expected.push_back("start-up: could not load sample " + quoted(c.file));
  expected.push_back("start-up: " + display_failure);
  if (fails && c.file == "data/missing_image.png")
    expected.push_back("start-up: could not load image " + quoted(c.file));
  if (fails && c.file == "data/lacuna.ttf")
    expected.push_back("start-up: could not load font " + quoted(c.file));
  if (fails && is_placeholder(c.file)) return expected;

  expected.push_back("played " + std::to_string(play_ticks) + " ticks");
  if (!fails) return expected;
  if (ends_with(c.file, ".png")) {
    expected.push_back("image bin: could not load image " + quoted(c.file));
    expected.push_back("placeholder drawn for " + c.file);
  } else if (c.file == "data/fonts/StencilStd.otf") {
    // Setup asks for the title first, then "WIN" and its subtext; "FAIL" and
    // the last subtext reuse those two sizes.
    for (const char* size : {"-110", "-200", "-40"}) {
      expected.push_back("font bin: could not load font " + quoted(c.file) + " (size " + size + ")");
    }
    expected.push_back("titles drawn in the default font");
  } else if (c.file == "data/fonts/lacuna.ttf") {
    // The HUD's order: "Energy", its dots, the count of enemies left.
    for (const char* size : {"-40", "-130", "-16"}) {
      expected.push_back("font bin: could not load font " + quoted(c.file) + " (size " + size + ")");
    }
    expected.push_back("HUD drawn in the default font");
  } else if (ends_with(c.file, ".wav")) {
    expected.push_back("sample bin: could not load sample " + quoted(c.file));
    expected.push_back("placeholder played for " + c.file);
  }
  return expected;
}

// ---------------------------------------------------------------------------
// The scratch folder and the child process.

std::vector<char> read_file(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void write_file(const fs::path& path, const std::vector<char>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// A second of silence in a WAV file damaged inside.
std::string damaged_wave(damage kind) {
  const std::string format = wave_chunk("fmt ", pcm_format(kind == damage::one_hertz ? 1 : 44100, 1));
  const std::string data = wave_chunk("data", std::string(88200, '\0'));
  if (kind == damage::no_format) return riff_wave(data);
  if (kind == damage::format_after_data) return riff_wave(data + format);
  if (kind == damage::no_data) return riff_wave(format + wave_chunk("data", ""));
  std::string empty_chunks;  // 8 MB of them for million_chunks
  for (int i = 0; kind == damage::million_chunks && i < 1'000'000; ++i) empty_chunks += wave_chunk("junk", "");
  return riff_wave(empty_chunks + format + data);
}

void damage_file(const fs::path& path, damage kind, unsigned int seed) {
  if (kind > damage::first_half) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << damaged_wave(kind);
    return;
  }
  std::vector<char> bytes = read_file(path);
  if (kind == damage::empty) bytes.clear();
  if (kind == damage::first_half) bytes.resize(bytes.size() / 2);
  if (kind == damage::random_bytes) {
    std::mt19937 random(seed);
    for (char& byte : bytes) byte = static_cast<char>(random() & 0xFF);
  }
  write_file(path, bytes);
}

std::string case_name(const damage_case& c) {
  std::string name = c.file.substr(std::string("data/").size());
  for (char& ch : name) {
    if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
  }
  const char* kinds[] = {"_empty",   "_random_bytes", "_first_half",    "_no_format",
                         "_format_after_data", "_no_data", "_one_hertz", "_million_chunks"};
  return name + kinds[static_cast<int>(c.kind)];
}

std::vector<damage_case> every_case() {
  std::vector<damage_case> cases;
  for (const char* file : damaged_files) {
    for (damage kind : {damage::empty, damage::random_bytes, damage::first_half})
      cases.push_back({file, kind});
  }
  for (const char* file : damaged_sounds) {
    for (int kind = static_cast<int>(damage::no_format); kind <= static_cast<int>(damage::million_chunks); ++kind)
      cases.push_back({file, static_cast<damage>(kind)});
  }
  return cases;
}

// Damages the file in a scratch copy of data/ and runs the case there.
std::vector<std::string> run_case(const damage_case& c) {
  const fs::path repo = fs::current_path();
  if (!fs::exists(repo / "data/lacuna.ttf")) return {"not run from the repository root"};
  const fs::path scratch =
      fs::temp_directory_path() / ("tank-damaged-" + std::to_string(getpid()) + "-" + case_name(c));
  fs::remove_all(scratch);
  fs::create_directories(scratch);
  fs::copy(repo / "data", scratch / "data", fs::copy_options::recursive);
  damage_file(scratch / c.file, c.kind, 1234);
  std::vector<std::string> found = lines_from_child(scratch, true, [&c] { return what_the_child_finds(c); });
  fs::remove_all(scratch);
  return found;
}

void PrintTo(const damage_case& c, std::ostream* out) { *out << case_name(c); }

struct DamagedData : ::testing::TestWithParam<damage_case> {};

TEST_P(DamagedData, StartsDrawsTheStandInAndDoesNotCrash) {
  const damage_case& c = GetParam();
  EXPECT_EQ(run_case(c), expected_findings(c, true));
}

INSTANTIATE_TEST_SUITE_P(EveryFileThreeWays, DamagedData, ::testing::ValuesIn(every_case()),
                         [](const ::testing::TestParamInfo<damage_case>& info) {
                           return case_name(info.param);
                         });

}  // namespace
