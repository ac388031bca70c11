// Long random sequences of input samples, first through the input controls
// alone, then through the real game, with the rules' invariants checked after
// every tick. The seeds are fixed; a failure names the seed, the round and the
// tick, and stops at the first broken invariant.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include <tank/input/controls.hpp>
#include <tank/objects/object.hpp>

#include "app/config.hpp"
#include "game/world.hpp"
#include "tests/support/drawing_order.hpp"
#include "tests/support/headless_driver.hpp"
#include "tests/support/random_player.hpp"

using namespace tank;

namespace {

// ---------------------------------------------------------------------------
// The controls alone, against a model of the sample: a tracked control is held
// exactly when its device is down in the latest sample, pressed exactly when
// it went down since the sample before (or since it began to be tracked, as
// a new control starts up), released exactly when it went up.

// The controls driven at random, each changing state on about one sample in
// `flicker`: some flicker, some stay down or up for long.
struct control_pattern {
  int code = 0;
  int flicker = 1;
};
const control_pattern patterns[] = {{mouse_button_left, 2},  {mouse_button_right, 30}, {ALLEGRO_KEY_F1, 1},
                                    {ALLEGRO_KEY_ESCAPE, 5}, {ALLEGRO_KEY_A, 3},       {ALLEGRO_KEY_Z, 10},
                                    {ALLEGRO_KEY_SPACE, 60}, {ALLEGRO_KEY_MAX - 1, 4}};
// Asked about for the first time in this order: the codes above, and codes
// that are no control at all, which must never read as down.
const int new_codes[] = {ALLEGRO_KEY_F1,
                         0,
                         mouse_button_left,
                         ALLEGRO_KEY_MAX,
                         ALLEGRO_KEY_A,
                         -3,
                         ALLEGRO_KEY_Z,
                         mouse_button_right,
                         100000,
                         ALLEGRO_KEY_SPACE,
                         ALLEGRO_KEY_MAX - 1,
                         -100000,
                         ALLEGRO_KEY_ESCAPE};

// Flips a bit of the keyboard state that belongs to no key: code 0, or one
// past the last key code. Noise that no control may read.
void flip_stray_key_bit(scripted_input_class& input, int code) {
  input.keyboard.__key_down__internal__[code / 32] ^= 1u << (code % 32);
}

TEST(RandomControls, FlagsFollowTheEdgesOfTheSamples) {
  const unsigned int seed = 7031;
  SCOPED_TRACE("seed " + std::to_string(seed));
  random_player_class random(seed);
  headless_driver_class& game = shared_driver();  // its scripted input is the only one installed
  scripted_input_class& input = game.input;
  input.keyboard = {};
  input.mouse = {};
  controls.buttons.clear();

  std::map<int, bool> down;      // the device state the next sample takes
  std::map<int, bool> was_down;  // per tracked code: down at its previous update
  std::size_t next_new = 0;
  for (int step = 0; step < 20000; ++step) {
    for (const control_pattern& pattern : patterns) {
      if (random.one_in(pattern.flicker)) {
        down[pattern.code] = !down[pattern.code];
        input.set_down(pattern.code, down[pattern.code]);
      }
    }
    // The third mouse button is no control either; it must not leak into -1 or -2.
    if (random.one_in(5)) input.mouse.buttons ^= 4;
    if (random.one_in(3)) flip_stray_key_bit(input, 0);
    if (random.one_in(3)) flip_stray_key_bit(input, ALLEGRO_KEY_MAX);
    input.move_mouse(random.between(-100, 1000), random.between(-100, 800));
    update_controls();
    ASSERT_EQ(mouse_x(), input.mouse.x);
    ASSERT_EQ(mouse_y(), input.mouse.y);

    for (auto& [code, before] : was_down) {
      const bool now = down[code];
      const bool held = key_held(code);
      const bool pressed = key_pressed(code);
      const bool released = key_released(code);
      const std::string where = "step " + std::to_string(step) + ", code " + std::to_string(code);
      ASSERT_TRUE(!pressed || held) << "pressed without held, " << where;
      ASSERT_FALSE(pressed && released) << "pressed and released at once, " << where;
      ASSERT_EQ(held, now) << where;
      ASSERT_EQ(pressed, now && !before) << "pressed off an up-to-down edge, " << where;
      ASSERT_EQ(released, !now && before) << where;
      before = now;
    }

    // Now and then the next code is asked about for the first time: it
    // answers false, whatever its device, and is tracked from the next update.
    if (next_new < std::size(new_codes) && random.one_in(1000)) {
      const int code = new_codes[next_new++];
      EXPECT_FALSE(key_pressed(code) || key_held(code) || key_released(code)) << "first query of " << code;
      was_down[code] = false;
    }
    ASSERT_EQ(controls.buttons.size(), was_down.size()) << "one control per code, step " << step;
  }
}

// ---------------------------------------------------------------------------
// The game: rounds that start from the driver's known state, each with its
// own number of enemies, player and input pattern, played to their end and a
// while beyond.

const Object* const end_texts[] = {&win_text, &win_subtext, &fail_text, &fail_subtext};

float distance_between(float ax, float ay, float bx, float by) { return std::hypot(ax - bx, ay - by); }

// What a round must never break, tick after tick. Starts from the state the
// round is in when it is made.
struct invariants_class {
  int last_energy = energy;
  int last_enemies_left = enemies_left;
  int last_state = game_state;

  // Empty while every invariant holds, else what broke.
  std::string check() {
    if (energy < 0 || energy > 5) return "energy " + std::to_string(energy) + " out of 0..5";
    if (energy > last_energy) return "energy rose";
    if (enemies_left > last_enemies_left) return "enemies left rose";
    if (last_state != game_playing && game_state != last_state) return "the game state changed after the end";
    if (game_state != game_playing && game_state != game_won && game_state != game_failed) {
      return "unknown game state";
    }
    if (enemies_left == 0 && game_state == game_playing) return "no enemy left, still playing";
    if (energy == 0 && game_state != game_failed) return "no energy left, not failed";
    last_energy = energy;
    last_enemies_left = enemies_left;
    last_state = game_state;

    const std::vector<Object*> registered = drawing_order();
    if (registered.size() != 115) return "registry holds " + std::to_string(registered.size());
    for (std::size_t i = 1; i < registered.size(); ++i) {
      if (registered[i - 1]->depth > registered[i]->depth) return "registry out of depth order";
    }
    for (const Object* object : registered) {
      for (float value :
           {object->x, object->y, object->depth, object->scale_x, object->scale_y, object->rotation}) {
        if (!std::isfinite(value)) return "a field is not finite";
      }
      if (!(object->opacity >= 0.0f && object->opacity <= 1.0f)) return "opacity out of 0..1";
    }

    // Only the four bullets carry the bullet image, and a visible one is
    // never farther from its tank than the 350 pixels of a flight.
    int bullets = 0;
    for (const Object* object : registered) {
      if (object->bitmap != bullet_1.bitmap || !object->is_visible()) continue;
      ++bullets;
      if (std::min(distance_between(object->x, object->y, left_tank.x, left_tank.y),
                   distance_between(object->x, object->y, right_tank.x, right_tank.y)) > 350.01f) {
        return "a visible bullet beyond the reach of both tanks";
      }
    }
    if (bullets > 4) return std::to_string(bullets) + " bullets visible";

    // While playing no end text shows; after the end only the outcome's pair.
    for (int i = 0; i < 4; ++i) {
      const bool allowed = (game_state == game_won && i < 2) || (game_state == game_failed && i >= 2);
      if (!allowed && end_texts[i]->is_visible()) return "an end text shows that should not";
    }
    return "";
  }
};

enum player_kind {
  wandering,     // the mouse jumps about, the buttons go down and up at random
  aiming,        // as wandering, but the mouse follows the lowest enemy that can be hit
  holding_fire,  // as wandering, without a shot: every enemy reaches the bottom
};

struct round_plan {
  int enemies = 100;  // those in play; the rest are gone from the start
  player_kind player = wandering;
  int flicker = 2;  // a control changes state on about one tick in `flicker`
};

void random_input(scripted_input_class& input, random_player_class& random, const round_plan& plan) {
  const Object* target = plan.player == aiming ? lowest_target() : nullptr;
  if (target != nullptr) {
    input.move_mouse(static_cast<int>(target->x), static_cast<int>(target->y) + 20);
  } else if (random.one_in(3)) {
    random.jump(input, 50);
  }
  if (plan.player != holding_fire) random.flicker(input, {mouse_button_left, mouse_button_right}, plan.flicker);
  random.flicker(input, {ALLEGRO_KEY_F1, ALLEGRO_KEY_ESCAPE, ALLEGRO_KEY_SPACE}, plan.flicker);
}

TEST(RandomPlay, InvariantsHoldOnEveryTickOfEveryRound) {
  const unsigned int seed = 90210;
  random_player_class random(seed);
  headless_driver_class& game = shared_driver(seed);

  std::vector<round_plan> plans;
  // Five enemies and no shot: the last one to pass the bottom loses the game
  // as the count of enemies left reaches 0.
  for (int enemies_in_play : {3, 5, 12, 100}) {
    for (player_kind player : {wandering, aiming, holding_fire}) {
      for (int flicker : {2, 25}) plans.push_back({enemies_in_play, player, flicker});
    }
  }
  int outcomes[3] = {0, 0, 0};
  for (std::size_t round = 0; round < plans.size(); ++round) {
    game.reset_game();
    random.scatter_enemies(plans[round].enemies, -1500);
    game.tick();
    invariants_class invariants;
    int ended_at = -1;
    for (int tick = 1; tick <= 4000 && (ended_at < 0 || tick - ended_at < 90); ++tick) {
      random_input(game.input, random, plans[round]);
      game.tick(tick % 50 == 0);
      const std::string broken = invariants.check();
      if (!broken.empty()) {
        FAIL() << broken << " (seed " << seed << ", round " << round << ", tick " << tick << ")";
      }
      if (ended_at < 0 && game_state != game_playing) ended_at = tick;
    }
    ++outcomes[game_state];
  }
  // The rounds are meant to reach both endings: a check of the invariants
  // that never sees one would prove little.
  EXPECT_GT(outcomes[game_won], 0) << "seed " << seed;
  EXPECT_GT(outcomes[game_failed], 0) << "seed " << seed;
}

}  // namespace
