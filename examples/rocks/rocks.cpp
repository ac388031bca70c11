// rocks: a whole small game on the framework, in one file.
//
// Rocks tumble down; the ship at the bottom follows the mouse and fires
// upwards. A rock that is hit bursts into sparks and scores a point; a rock
// that reaches the ship ends the game, and a click starts the next one.
// Rocks, shots and sparks are Objects kept in std::vectors: born when they
// are needed, erased when they are done.
//
// Controls: the mouse steers, the left button fires (and starts again after
// a crash); F1 debug view; ESC quits.
//
//   rocks                 plays until ESC
//   rocks --frames N      quits by itself after N frames

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include <tank/tank.hpp>

using namespace tank;

namespace {
// Drawn back to front: rocks, shots, the ship, sparks, the title.
constexpr float rock_depth = 0.0f;
constexpr float shot_depth = 1.0f;
constexpr float spark_depth = 3.0f;

struct rock {
  Object sprite;
  float speed = 0.0f;  // pixels per tick
  float spin = 0.0f;   // radians per tick
};

Object ship;  // global Objects are fine: the registry is built before them
Object title;
std::vector<rock> rocks;
std::vector<Object> shots;
std::vector<Object> sparks;
int score = 0;
bool crashed = false;
long frames_left = -1;  // --frames: counts down to the end

void setup() {
  ship.set_bitmap("data/images/ship.png", true);
  ship.set_align({0.5f, 0.5f});
  ship.set_position({400.0f, 550.0f});
  ship.depth = 2.0f;
  title.set_bitmap(text_bitmap("data/lacuna.ttf", -96, "ROCKS"), true);
  title.set_align({0.5f, 0.5f});
  title.set_position({400.0f, 260.0f});
  title.depth = 10.0f;
  // Swings in, stays a moment, fades away.
  title.scale_x_animators.animate({.from = 0.0f, .to = 1.0f, .duration = 0.8, .curve = curve_overshoot});
  title.scale_y_animators.animate({.from = 0.0f, .to = 1.0f, .duration = 0.8, .curve = curve_overshoot});
  title.opacity_animators.animate({.from = 1.0f, .to = 0.0f, .delay = 2.0, .duration = 0.6});
}

// Sparks fly out and fade; each is erased once its animations are over.
void burst(vec2d at) {
  for (int i = 0; i < 16; ++i) {
    Object& spark = sparks.emplace_back("data/images/spark.png", spark_depth);
    spark.blend_mode = blend_mode::additive_alpha;
    spark.set_align({0.5f, 0.5f});
    const vec2d to = at + from_polar(random_float(0.0f, 6.283f), random_float(20.0f, 80.0f));
    spark.x_animators.animate({.from = at.x, .to = to.x, .duration = 0.6, .curve = curve_quad_out});
    spark.y_animators.animate({.from = at.y, .to = to.y, .duration = 0.6, .curve = curve_quad_out});
    spark.opacity_animators.animate({.from = 1.0f, .to = 0.0f, .duration = 0.6, .curve = curve_quad_in});
  }
}

void fire() {
  Object& shot = shots.emplace_back("data/images/shot.png", shot_depth);
  shot.set_align({0.5f, 1.0f});
  shot.set_position(ship.position());
}

void drop_rock() {
  rock& r = rocks.emplace_back(rock{Object("data/images/rock.png", rock_depth)});
  r.sprite.set_align({0.5f, 0.5f});
  r.sprite.set_position({random_float(30.0f, 770.0f), -30.0f});
  r.speed = random_float(1.5f, 4.0f);
  r.spin = random_float(-0.05f, 0.05f);
}

void new_game() {
  rocks.clear();
  shots.clear();
  score = 0;
  crashed = false;
  ship.opacity = 1.0f;
}

void update() {
  if (frames_left > 0 && --frames_left == 0) quit_requested = true;
  std::erase_if(sparks, [](const Object& spark) { return spark.animations_finished(); });
  if (crashed) {
    if (key_pressed(mouse_button_left)) new_game();
    return;
  }

  ship.x = static_cast<float>(mouse_x());
  if (key_pressed(mouse_button_left)) fire();
  if (random_int(0, 29) == 0) drop_rock();
  for (Object& shot : shots) shot.y -= 9.0f;
  for (rock& r : rocks) {
    r.sprite.y += r.speed;
    r.sprite.rotation += r.spin;
  }

  // What is hit is made invisible here and erased below.
  for (rock& r : rocks) {
    for (Object& shot : shots) {
      if (shot.opacity == 0.0f || !collides(r.sprite, shot)) continue;
      burst(r.sprite.position());
      ++score;
      shot.opacity = 0.0f;
      r.sprite.opacity = 0.0f;
      break;
    }
    if (r.sprite.opacity != 0.0f && collides(r.sprite, ship)) {
      burst(ship.position());
      ship.opacity = 0.0f;
      crashed = true;
    }
  }
  std::erase_if(shots, [](const Object& shot) { return shot.opacity == 0.0f || shot.y < -20.0f; });
  std::erase_if(rocks, [](const rock& r) { return r.sprite.opacity == 0.0f || r.sprite.y > 640.0f; });
}

void draw() {
  draw_all_objects();
  draw_changing_text("score " + std::to_string(score), 12.0f, 10.0f, 0.0f, 0.0f);
  if (crashed) draw_text("crashed - click to play again", 400.0f, 300.0f, 0.5f, 0.5f);
}
}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && std::strcmp(argv[1], "--frames") == 0 && std::atol(argv[2]) > 0) {
    frames_left = std::atol(argv[2]);
  } else if (argc != 1) {
    std::fprintf(stderr, "usage: rocks [--frames N]\n");
    return 2;
  }
  return run_game({.setup_world = setup, .update = update, .draw = draw});
}
