// A long headless run of the real game with a random player: every tick the
// mouse wanders and the buttons go down and up at random, and every few ticks
// a frame is drawn into memory. Under AddressSanitizer it finds memory errors
// and leaks; resident memory, sampled after the first minute of game time and
// at the end, finds growth that no leak checker reports (a cache or a list
// that grows with every tick).
//
// A game ends within a minute or two of game time and has no restart, so once
// a game has been over for five seconds the run starts another one the way
// setup did: every enemy whole again at a random place above the screen.
//
// TANK_SOAK_TICKS sets the length in ticks (default 36 000, ten minutes of
// game time; `make soak` runs 216 000, one hour). TANK_SOAK_DRAW_EVERY draws
// a frame on every n-th tick (default 31, a prime, so that the frames fall on
// every phase of the game's periodic motion; drawing a frame costs about a
// thousand ticks of updates).
#include <gtest/gtest.h>

#include <allegro5/allegro.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include <tank/input/controls.hpp>
#include <tank/objects/object.hpp>
#include <tank/objects/object_registry.hpp>
#include <tank/resources/font_bin.hpp>

#include "app/config.hpp"
#include "game/world.hpp"
#include "tests/support/headless_driver.hpp"
#include "tests/support/random_player.hpp"
#include "tests/support/resident_memory.hpp"

using namespace tank;

#ifdef __SANITIZE_ADDRESS__
// AddressSanitizer keeps freed blocks in a quarantine of up to 256 MB before
// reusing them, so resident memory climbs with every allocation for hours
// although the program holds nothing more. This run reuses freed memory at
// once: it measures the program, not the quarantine. A freed block is still
// poisoned until it is handed out again, and the other tests keep the
// quarantine.
extern "C" const char* __asan_default_options() {
  return "quarantine_size_mb=0:thread_local_quarantine_size_kb=0";
}
#endif

namespace {

const int ticks_per_minute = 60 * 60;
// Resident memory may grow by what the game keeps by design (the pixels of
// each text shown for the first time: an enemy count not shown before, a new
// line of the debug overlay while its small cache fills) and by a few steps of
// the allocator: this one maps memory for a size of block 64 KiB at a time, so
// a few more blocks alive at once than ever before (more shots in flight, say)
// cost 64 KiB. A block of a few dozen bytes lost on every tick exceeds the
// tolerance within ten minutes.
const long growth_tolerance_kib = 4 * 64;

// The pixels of every rendered text the fonts bin holds, cached or changing,
// in KiB: what the game may keep by design as the run shows new texts.
long text_pixels_kib() {
  long bytes = 0;
  const auto add = [&bytes](ALLEGRO_BITMAP* bitmap) {
    if (bitmap) bytes += 4L * al_get_bitmap_width(bitmap) * al_get_bitmap_height(bitmap);
  };
  for (const auto& [key, bitmap] : fonts_bin.text_cache) add(bitmap);
  for (const changing_text_entry& entry : fonts_bin.changing_texts) add(entry.bitmap);
  return bytes / 1024;
}

int positive_setting(const char* name, int fallback) {
  const char* text = std::getenv(name);
  if (text == nullptr) return fallback;
  char* end = nullptr;
  const long value = std::strtol(text, &end, 10);
  if (end == text || *end != '\0' || value <= 0 || value > 1000000000L) return fallback;
  return static_cast<int>(value);
}

// A restless player: the mouse wanders a few pixels a tick and now and then
// jumps anywhere (a little outside the window too), each button changes state
// on about one tick in twenty, and F1 is pressed about every ten seconds, so
// the debug view's outlines and overlay are drawn as well.
void play(random_player_class& player, scripted_input_class& input) {
  const int dx = player.between(-12, 12);
  input.move_mouse(input.mouse.x + dx, input.mouse.y + player.between(-12, 12));
  if (player.one_in(90)) player.jump(input, 40);
  player.flicker(input, {mouse_button_left, mouse_button_right}, 20);
  if (player.one_in(600)) input.set_down(ALLEGRO_KEY_F1, true);
  if (player.one_in(10)) input.set_down(ALLEGRO_KEY_F1, false);
}

TEST(Soak, RandomPlayKeepsResidentMemoryFlatAfterTheFirstMinute) {
  const int ticks = positive_setting("TANK_SOAK_TICKS", 10 * ticks_per_minute);
  const int draw_every = positive_setting("TANK_SOAK_DRAW_EVERY", 31);
  ASSERT_GT(ticks, ticks_per_minute) << "the run must outlast the first minute";
  const unsigned int seed = 20240611;
  SCOPED_TRACE("seed " + std::to_string(seed));

  headless_driver_class& game = shared_driver(seed);
  random_player_class player(seed);
  const auto started = std::chrono::steady_clock::now();

  long first_minute_kib = -1;
  long first_minute_text_kib = 0;
  int games = 1;
  int ended_at = -1;  // the tick on which the current game ended
  for (int tick = 1; tick <= ticks; ++tick) {
    play(player, game.input);
    game.tick(tick % draw_every == 0);
    if (tick == ticks_per_minute) {
      first_minute_kib = resident_kib();
      first_minute_text_kib = text_pixels_kib();
    }
    if (ended_at < 0 && game_state != game_playing) ended_at = tick;
    if (ended_at >= 0 && tick - ended_at == 5 * 60) {
      // A new game, its enemies placed as the world's setup places them.
      game.reset_game();
      player.scatter_enemies(static_cast<int>(enemies.size()), -7500);
      ended_at = -1;
      ++games;
    }
  }
  const long end_kib = resident_kib();
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  std::printf(
      "%d ticks, %d games, a frame every %d ticks: %.1f s; resident %ld KiB after a minute, %ld KiB at the "
      "end\n",
      ticks, games, draw_every, seconds, first_minute_kib, end_kib);

  EXPECT_EQ(object_registry.count(), 115) << "no object lost or added";
  ASSERT_GT(first_minute_kib, 0) << "VmRSS unreadable";
  const long new_text_kib = text_pixels_kib() - first_minute_text_kib;
  EXPECT_LE(end_kib - first_minute_kib, growth_tolerance_kib + new_text_kib)
      << "resident memory grew after the first minute (" << new_text_kib << " KiB of new texts since)";
}

}  // namespace
