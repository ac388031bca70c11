#include "game/world.hpp"

#include <allegro5/allegro_color.h>

#include <string>

#include <tank/animation/curves.hpp>
#include <tank/core/settings.hpp>
#include <tank/math/random.hpp>
#include <tank/resources/font_bin.hpp>

#include "game/title.hpp"
#include "game/tuning.hpp"

using namespace tank;

Object left_tank;
Object left_turret;
Object right_tank;
Object right_turret;
Object bullet_1;
Object bullet_2;
Object bullet_3;
Object bullet_4;
Object title_text;
Object left_shield;
Object right_shield;
Object win_text;
Object win_subtext;
Object fail_text;
Object fail_subtext;

std::vector<std::unique_ptr<Object>> enemies;

int game_state = game_playing;
int enemies_left = 0;

namespace {
const char* const text_font = "data/fonts/StencilStd.otf";
const int level = 5;

void place_tank(Object& tank, vec2d position) {
  tank.set_bitmap("data/images/tank.png", true);
  tank.set_position(position);
  tank.set_align({0.5f, 0.5f});
  tank.scale_x_animators.set_value(0.75f);
  tank.scale_y_animators.set_value(0.75f);
  tank.depth_animators.set_value(2.0f);
}

// Placed anywhere for now: from the first tick on it follows its tank.
void prepare_turret(Object& turret) {
  turret.set_bitmap("data/images/turret.png", true);
  turret.set_position({static_cast<float>(display_width / 2), static_cast<float>(display_height / 2)});
  // The turret turns about its ring, three quarters down the image.
  turret.set_align({0.5f, 0.75f});
  turret.depth_animators.set_value(3.0f);
}

// Invisible is free: the rules fire only bullets at opacity 0.
void park_bullet(Object& bullet) {
  bullet.set_bitmap("data/images/bullet.png", true);
  bullet.set_align({0.5f, 0.5f});
  bullet.opacity_animators.set_value(0.0f);
  bullet.set_position(bullet_parking_place);
}

void prepare_shield(Object& shield) {
  shield.set_bitmap("data/images/sheild.png", true);
  shield.blend_mode = blend_mode::additive;  // a glow over the tank
  shield.set_align({0.5f, 0.5f});
  shield.opacity_animators.set_value(0.3f);
  shield.depth_animators.set_value(4.0f);
  shield.scale_x_animators.set_value(shield_scale_small);
  shield.scale_y_animators.set_value(shield_scale_small);
}

// Hidden until the game ends: the zero-length pop-out takes effect at the
// first animation step, before anything is drawn. Each text is brought in
// front of everything registered so far.
void prepare_end_text(Object& text, int size, const std::string& words, const char* colour, vec2d position) {
  text.set_bitmap(text_bitmap(text_font, size, words), true);
  text.align_center();
  text.align_middle();
  text.color_animators.set_value(al_color_name(colour));
  text.set_position(position);
  text.pop_out(0.0f, curve_cubic_in);
  text.bring_to_front();
}

void create_enemies() {
  for (int i = 0; i < level * 20; ++i) {
    enemies.push_back(std::make_unique<Object>());
    Object& enemy = *enemies.back();
    // Two draws per enemy, x first.
    enemy.x_animators.set_value(static_cast<float>(random_int(100, display_width - 100)));
    enemy.y_animators.set_value(static_cast<float>(random_int(level * -1500, 0)));
    enemy.set_bitmap("data/images/enemy_bullet.png", true);
    enemy.align_center();
    enemy.align_middle();
  }
}
}  // namespace

void setup_world() {
  const float tank_y = static_cast<float>(display_height - 160);
  place_tank(left_tank, {100.0f, tank_y});
  place_tank(right_tank, {static_cast<float>(display_width - 100), tank_y});
  prepare_turret(left_turret);
  prepare_turret(right_turret);
  for (Object* bullet : {&bullet_1, &bullet_2, &bullet_3, &bullet_4}) park_bullet(*bullet);
  prepare_shield(left_shield);
  prepare_shield(right_shield);

  const vec2d centre{static_cast<float>(display_width / 2), static_cast<float>(display_height / 2)};
  title_text.set_bitmap(text_bitmap(text_font, -110, "TANK"), true);
  title_text.set_position(centre);
  title_text.set_align({0.5f, 0.5f});
  // The pop-in finds the title still fully shown and adds nothing: the title
  // is hidden by the pop-out at the first step. show_title's animators come
  // later and so have the last word.
  title_text.pop_out(0.0f, curve_cubic_in);
  title_text.pop_in(0.4f, curve_cubic_in);
  show_title();

  // In registration order the four texts are brought forward one after the
  // other: the first lands just above depth 0, the rest above the shields.
  const vec2d low{static_cast<float>(display_width / 2), static_cast<float>((display_height / 3) * 2)};
  prepare_end_text(win_text, -200, "WIN", "green", centre);
  prepare_end_text(win_subtext, -40, "That's all for now folks!", "green", low);
  prepare_end_text(fail_text, -200, "FAIL", "red", centre);
  prepare_end_text(fail_subtext, -40, "The ESC key is your only way out.", "red", low);

  create_enemies();
}
