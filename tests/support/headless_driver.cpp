#include "tests/support/headless_driver.hpp"

#include <allegro5/allegro_color.h>
#include <allegro5/allegro_font.h>

#include <cstdlib>

#include <tank/math/blend_mode.hpp>
#include <tank/objects/object_registry.hpp>
#include <tank/resources/font_bin.hpp>
#include <tank/resources/placeholders.hpp>
#include <tank/resources/resource_kinds.hpp>
#include <tank/shell/game_loop.hpp>

#include "app/config.hpp"
#include "game/tank_game.hpp"
#include "game/title.hpp"
#include "game/world.hpp"
#include "tests/support/library.hpp"

using namespace tank;

namespace {
bool world_built = false;


void load_placeholders() {
  if (!missing_image) missing_image = load_image("data/missing_image.png");
  if (!default_font) default_font = load_font("data/lacuna.ttf", -20);
  fonts_bin.set_default_font("data/lacuna.ttf", -20);
}

void hide(Object& object) {
  object.opacity_animators.set_value(0.0f);
  object.scale_x_animators.set_value(0.0f);
  object.scale_y_animators.set_value(0.0f);
}
}  // namespace

headless_driver_class::headless_driver_class(unsigned int seed) {
  start_headless_library();
  // As start-up does: the library's own first blender is not the cache's.
  apply_cached_blend_mode();
  load_placeholders();
  frame = al_create_bitmap(display_width, display_height);
  if (!world_built) {
    std::srand(seed);
    setup_world();
    world_built = true;
  }
}

headless_driver_class::~headless_driver_class() {
  if (frame) al_destroy_bitmap(frame);
}

void headless_driver_class::tick(bool draw_it) {
  clock.advance(1.0 / 60.0);
  update_tick(tank_game);
  ++ticks;
  if (draw_it) draw();
}

void headless_driver_class::run(int count, bool draw_it) {
  for (int i = 0; i < count; ++i) tick(draw_it);
}

void headless_driver_class::draw() { draw_frame(tank_game, frame); }

ALLEGRO_COLOR headless_driver_class::pixel(int x, int y) const { return al_get_pixel(frame, x, y); }

void headless_driver_class::reset_game() {
  energy = 5;
  fall_speed = 1.0f;
  game_state = game_playing;
  enemies_left = 0;
  quit_requested = false;
  debug_view = false;

  for (Object& object : object_registry.in_order()) object.clear_animators();
  for (Object* bullet : {&bullet_1, &bullet_2, &bullet_3, &bullet_4}) {
    bullet->opacity_animators.set_value(0.0f);
    bullet->set_position(bullet_parking_place);
  }
  hide_title();
  for (Object* text : {&win_text, &win_subtext, &fail_text, &fail_subtext}) hide(*text);
  for (Object* shield : {&left_shield, &right_shield}) {
    shield->scale_x_animators.set_value(shield_scale_small);
    shield->scale_y_animators.set_value(shield_scale_small);
  }
  for (const auto& enemy : enemies) {
    enemy->opacity_animators.set_value(1.0f);
    enemy->scale_x_animators.set_value(1.0f);
    enemy->scale_y_animators.set_value(1.0f);
    enemy->color_animators.set_value(al_color_name("white"));
    enemy->set_position({400.0f, -100000.0f});
  }

  // One tick with everything let go: every control the game asks about is
  // then tracked and up, so the next press counts, and the turrets and
  // shields stand on their tanks.
  input.keyboard = {};
  input.mouse = {};
  input.presses = {};
  tick();
  fall_speed = 1.0f;
}

headless_driver_class& shared_driver(unsigned int seed) {
  static headless_driver_class driver(seed);
  return driver;
}
