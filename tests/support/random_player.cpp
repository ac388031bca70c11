#include "tests/support/random_player.hpp"

#include <tank/core/settings.hpp>

#include "game/world.hpp"

using namespace tank;

int random_player_class::between(int low, int high) {
  return std::uniform_int_distribution<int>(low, high)(engine);
}

bool random_player_class::one_in(int n) { return n <= 1 || between(1, n) == 1; }

void random_player_class::jump(scripted_input_class& input, int margin) {
  const int x = between(-margin, display_width + margin);
  input.move_mouse(x, between(-margin, display_height + margin));
}

void random_player_class::flicker(scripted_input_class& input, std::initializer_list<int> codes, int flicker) {
  for (int code : codes) {
    if (one_in(flicker)) input.set_down(code, !input.is_down(code));
  }
}

void random_player_class::scatter_enemies(int count, int top) {
  for (int i = 0; i < static_cast<int>(enemies.size()); ++i) {
    Object& enemy = *enemies[i];
    if (i < count) {
      const int x = between(100, display_width - 100);
      enemy.set_position({static_cast<float>(x), static_cast<float>(between(top, 0))});
    } else {
      enemy.opacity_animators.set_value(0.0f);
    }
  }
}

const Object* lowest_target() {
  const Object* lowest = nullptr;
  for (const auto& enemy : enemies) {
    if (enemy->opacity != 1.0f || !enemy->is_on_screen()) continue;
    if (lowest == nullptr || enemy->y > lowest->y) lowest = enemy.get();
  }
  return lowest;
}
