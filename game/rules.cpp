#include "game/rules.hpp"

#include <allegro5/allegro_color.h>

#include <cmath>

#include <tank/animation/curves.hpp>
#include <tank/core/settings.hpp>
#include <tank/input/controls.hpp>
#include <tank/math/vec2d.hpp>
#include <tank/objects/object_collision.hpp>
#include <tank/resources/sample_player.hpp>

#include "game/title.hpp"
#include "game/tuning.hpp"
#include "game/world.hpp"

using namespace tank;

namespace {
// The images point up; an angle of 0 points right.
const double quarter_turn = 1.5707963267948966;
const float bullet_range = 350.0f;

// A sound comes from where it happens, without leaving either speaker silent.
playback heard_at(float x, float gain) {
  return {.gain = gain, .pan = 0.6f * (2.0f * x / static_cast<float>(display_width) - 1.0f)};
}

// The tank's rotation turns it, and its turret and shots, towards the mouse.
// Exactly on the tank atan2(0, 0) is 0, so it faces right.
void aim(Object& tank) {
  const vec2d mouse{static_cast<float>(mouse_x()), static_cast<float>(mouse_y())};
  const vec2d d = subtract(mouse, tank.position());
  const float angle = static_cast<float>(std::atan2(static_cast<double>(d.y), static_cast<double>(d.x)));
  tank.rotation = static_cast<float>(angle + quarter_turn);
}

void follow(const Object& tank, Object& turret, Object& shield) {
  turret.rotation_animators.set_value(tank.rotation);
  turret.set_position(tank.position());
  shield.set_position(tank.position());
}

// Free bullets are the invisible ones; they get there only through opacity 0.
Object* first_free_bullet() {
  for (Object* bullet : {&bullet_1, &bullet_2, &bullet_3, &bullet_4}) {
    if (!bullet->is_visible()) return bullet;
  }
  return nullptr;
}

// Only while playing, so the first ending decides.
void end_game(int outcome, Object& text, Object& subtext) {
  if (game_state != game_playing) return;
  game_state = outcome;
  play_sample(outcome == game_won ? "data/sounds/win.wav" : "data/sounds/fail.wav");
  hide_title();
  text.pop_in(0.3f, curve_quad_out_twice);
  subtext.pop_in(0.3f, curve_quad_out_twice);
}

void pulse_between(Object& shield, float from, float to) {
  shield.scale_x_animators.animate(from, to, 0.0, 0.5, curve_quad_in_out);
  shield.scale_y_animators.animate(from, to, 0.0, 0.5, curve_quad_in_out);
}
}  // namespace

void update_game() {
  if (game_state == game_playing) {
    move_enemies();
    check_hits();
    fall_speed += fall_acceleration;
  }
  aim(left_tank);
  aim(right_tank);
  follow(left_tank, left_turret, left_shield);
  follow(right_tank, right_turret, right_shield);
  pulse_shield(left_shield);
  pulse_shield(right_shield);
  // On one tick both presses find the same free bullet (its opacity rises
  // only at the next animation step); the right tank's flight, started last,
  // decides where it goes.
  if (key_pressed(mouse_button_left)) fire(left_tank);
  if (key_pressed(mouse_button_right)) fire(right_tank);
  if (key_presses(ALLEGRO_KEY_M) % 2 == 1) toggle_mute();  // every press, as F1 and F11
  enemies_left = count_enemies_left();
}

void move_enemies() {
  for (const auto& enemy : enemies) {
    enemy->y_animators.add_value(fall_speed);
    // The explosion starts its swell at 1.001, so an enemy costs energy once,
    // and a destroyed one (still falling, invisible) never does.
    if (enemy->y > static_cast<float>(display_height) && enemy->scale_x == 1.0f) {
      explode(*enemy);
      play_sample("data/sounds/energy_lost.wav", heard_at(enemy->x, 1.0f));
      energy -= 1;
      if (energy <= 0) {
        energy = 0;
        lose_game();
      }
    }
  }
}

void check_hits() {
  for (const auto& enemy : enemies) {
    for (Object* bullet : {&bullet_1, &bullet_2, &bullet_3, &bullet_4}) hit_test(*enemy, *bullet);
  }
}

void hit_test(Object& enemy, Object& bullet) {
  // A retired bullet is at opacity 0 at once, so it hits nothing more this
  // tick; an enemy's fade starts only at the next animation step, so several
  // bullets on one enemy are all spent.
  if (enemy.is_on_screen() && enemy.opacity == 1.0f && bullet.opacity != 0.0f && collides(enemy, bullet)) {
    explode(enemy);
    play_sample("data/sounds/enemy_destroyed.wav", heard_at(enemy.x, 0.8f));
    retire_bullet(bullet);
  }
}

void explode(Object& enemy) {
  // Faded out before the tint has reached red.
  enemy.opacity_animators.animate(1.0f, 0.0f, 0.0, 0.5, curve_quad_out);
  enemy.color_animators.animate(al_color_name("white"), al_color_name("red"), 0.1, 0.5, curve_quad_out_twice);
  enemy.scale_x_animators.animate(1.001f, 20.0f, 0.0, 0.5, curve_quad_out_twice);
  enemy.scale_y_animators.animate(1.001f, 20.0f, 0.0, 0.5, curve_quad_out_twice);
}

void retire_bullet(Object& bullet) {
  bullet.opacity_animators.set_value(0.0f);
  bullet.set_position(bullet_parking_place);
  bullet.clear_animators();
}

void fire(const Object& tank) {
  Object* bullet = first_free_bullet();
  if (bullet == nullptr) return;
  play_sample("data/sounds/shot.wav", heard_at(tank.x, 0.6f));
  // Visible from 0 to 1 s, fully opaque from 0.2 s to 0.6 s, free again when
  // the fade-out ends together with the flight.
  bullet->opacity_animators.animate(0.0f, 1.0f, 0.0, 0.2, curve_quad_out_twice);
  bullet->opacity_animators.animate(1.0f, 0.0f, 0.6, 0.4, curve_quad_in);
  bullet->set_position(tank.position());
  bullet->rotation_animators.set_value(tank.rotation);
  const vec2d v = from_polar(static_cast<float>(tank.rotation - quarter_turn), bullet_range);
  bullet->x_animators.animate(tank.x, tank.x + v.x, 0.0, 1.0, curve_quad_out);
  bullet->y_animators.animate(tank.y, tank.y + v.y, 0.0, 1.0, curve_quad_out);
}

void pulse_shield(Object& shield) {
  // A finished pulse leaves the exact end value, so the next tick starts the
  // way back; in between the scale matches neither end and nothing starts.
  if (shield.scale_x == shield_scale_large) {
    pulse_between(shield, shield_scale_large, shield_scale_small);
  } else if (shield.scale_x == shield_scale_small) {
    pulse_between(shield, shield_scale_small, shield_scale_large);
  }
}

int count_enemies_left() {
  int count = 0;
  for (const auto& enemy : enemies) {
    if (enemy->is_visible()) ++count;
  }
  if (count == 0) win_game();
  return count;
}

void win_game() { end_game(game_won, win_text, win_subtext); }

void lose_game() { end_game(game_failed, fail_text, fail_subtext); }
