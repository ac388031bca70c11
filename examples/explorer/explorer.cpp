// explorer: a beetle crosses a meadow three windows wide and three high,
// looking for gems.
//
// The camera follows the beetle, stays inside the world and shakes at every
// find. The beetle walks through the frames of one sprite sheet, the gems
// pulse, and the head-up display is shapes and coloured text: a panel with a
// count and a bar, and a map of the whole meadow. P pauses: the game clock
// stands still, and every tween and frame cycle with it.
//
// Controls: arrow keys or WASD walk; P pauses; F1 debug view; ESC quits.
//
//   explorer               runs until ESC
//   explorer --frames N    quits by itself after N frames
//
// Build against an installed framework and run from the build folder, where
// the build copies data/ (the framework's placeholders and the images) and
// makes the chime:
//
//   cmake -S . -B build -DCMAKE_PREFIX_PATH=/where/tank/is/installed
//   cmake --build build
//   cd build && ./explorer

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <numbers>
#include <vector>

#include <tank/tank.hpp>

using namespace tank;

namespace {
constexpr float world_width = 2400.0f;
constexpr float world_height = 1800.0f;
constexpr int gem_count = 12;
constexpr float walk_speed = 4.0f;  // pixels per tick
constexpr float pi = std::numbers::pi_v<float>;

// A gem's pulse: it swells, then settles back along the same curve played
// backwards, for as long as the gem lies there.
constexpr tween<float> gem_pulse{.from = 1.0f, .to = 1.25f, .duration = 0.45, .curve = curve_quad_out,
                                 .repeats = repeat_forever, .back_and_forth = true};

// The map of the whole world in the top right corner, a fifteenth of its size.
constexpr float map_scale = 1.0f / 15.0f;
constexpr float map_left = 630.0f;
constexpr float map_top = 10.0f;

const ALLEGRO_COLOR grass = al_map_rgb(64, 104, 72);
const ALLEGRO_COLOR tuft_color = al_map_rgb(52, 88, 58);
const ALLEGRO_COLOR gold = al_map_rgb(255, 208, 96);
const ALLEGRO_COLOR violet = al_map_rgb(200, 130, 255);
const ALLEGRO_COLOR beetle_mark = al_map_rgb(80, 255, 220);
const ALLEGRO_COLOR panel = al_map_rgba_f(0.0f, 0.0f, 0.0f, 0.45f);
const ALLEGRO_COLOR white = al_map_rgb(255, 255, 255);

struct gem {
  Object sprite{"data/images/gem.png"};
  bool found = false;
};

struct tuft {
  vec2d at;
  float radius = 0.0f;
};

Object beetle;
std::vector<gem> gems;
std::vector<tuft> tufts;
int found = 0;
vec2d view_centre;     // where the camera is heading, eased towards the beetle
int shake_ticks = 0;   // the camera shakes while this counts down
long frames_left = -1;  // --frames: counts down to the end; -1 runs until ESC

void setup() {
  beetle.set_sprite_sheet("data/images/beetle.png", 32, 32);
  beetle.set_align({0.5f, 0.5f});
  beetle.set_position({400.0f, 300.0f});
  beetle.depth = 1.0f;
  view_centre = beetle.position();

  for (int i = 0; i < gem_count; ++i) {
    Object& sprite = gems.emplace_back().sprite;
    sprite.set_align({0.5f, 0.5f});
    sprite.set_position({random_float(60.0f, world_width - 60.0f), random_float(60.0f, world_height - 60.0f)});
    sprite.scale_x_animators.animate(gem_pulse);
    sprite.scale_y_animators.animate(gem_pulse);
  }
  for (int i = 0; i < 400; ++i) {
    tufts.push_back({{random_float(0.0f, world_width), random_float(0.0f, world_height)}, random_float(3.0f, 9.0f)});
  }
}

void walk() {
  const vec2d step(static_cast<float>((key_held(ALLEGRO_KEY_RIGHT) || key_held(ALLEGRO_KEY_D)) -
                                      (key_held(ALLEGRO_KEY_LEFT) || key_held(ALLEGRO_KEY_A))),
                   static_cast<float>((key_held(ALLEGRO_KEY_DOWN) || key_held(ALLEGRO_KEY_S)) -
                                      (key_held(ALLEGRO_KEY_UP) || key_held(ALLEGRO_KEY_W))));
  const bool walking = step != vec2d();
  // The legs move while the beetle walks; standing, it shows its first frame.
  if (walking && beetle.frames_finished()) beetle.cycle_frames({.fps = 12});
  if (!walking && !beetle.frames_finished()) {
    beetle.stop_frames();
    beetle.frame = 0;
  }
  if (!walking) return;
  const vec2d to = beetle.position() + normalized(step) * walk_speed;
  beetle.x = std::clamp(to.x, 16.0f, world_width - 16.0f);
  beetle.y = std::clamp(to.y, 16.0f, world_height - 16.0f);
  // The sheet's beetle faces up, a quarter turn before the angle 0 of from_polar.
  beetle.rotation = std::atan2(step.y, step.x) + pi / 2.0f;
}

void pick_up_gems() {
  for (gem& g : gems) {
    if (g.found || !collides(beetle, g.sprite)) continue;
    g.found = true;
    ++found;
    shake_ticks = 20;
    play_sample("data/sounds/chime.wav");
    g.sprite.clear_animators();  // the pulse, which never ends by itself
    g.sprite.pop_out(0.3f, curve_quad_in);
  }
  std::erase_if(gems, [](const gem& g) { return g.found && g.sprite.animations_finished(); });
}

// The camera eases after the beetle, keeps the view inside the world, and
// shakes for a moment after a find.
void move_camera() {
  const vec2d view(static_cast<float>(display_width), static_cast<float>(display_height));
  view_centre += (beetle.position() - view_centre) * 0.1f;
  camera = view_centre - view / 2.0f;
  camera.x = std::clamp(camera.x, 0.0f, world_width - view.x);
  camera.y = std::clamp(camera.y, 0.0f, world_height - view.y);
  if (shake_ticks > 0) {
    --shake_ticks;
    camera += from_polar(random_float(0.0f, 2.0f * pi), 0.4f * static_cast<float>(shake_ticks));
  }
}

void update() {
  if (frames_left > 0 && --frames_left == 0) quit_requested = true;
  if (key_presses(ALLEGRO_KEY_P) % 2 == 1) game_paused = !game_paused;
  // Paused, the game stops its own motion; the framework holds its tweens and
  // frame cycles where they stand.
  if (game_paused) return;
  walk();
  pick_up_gems();
  move_camera();
}

// The meadow, in world coordinates: the camera moves it.
void draw_world() {
  fill_rectangle(0.0f, 0.0f, world_width, world_height, grass, coordinates::world);
  const vec2d view(static_cast<float>(display_width), static_cast<float>(display_height));
  for (const tuft& t : tufts) {
    const vec2d on_screen = world_to_screen(t.at);
    if (on_screen.x < -10.0f || on_screen.y < -10.0f || on_screen.x > view.x + 10.0f ||
        on_screen.y > view.y + 10.0f) {
      continue;
    }
    fill_circle(t.at.x, t.at.y, t.radius, tuft_color, coordinates::world);
  }
  outline_rectangle(0.0f, 0.0f, world_width, world_height, gold, 4.0f, coordinates::world);
}

// The head-up display, on the screen: the camera plays no part.
void draw_hud() {
  fill_rectangle(10.0f, 10.0f, 220.0f, 62.0f, panel, coordinates::screen);
  char line[32];
  std::snprintf(line, sizeof line, "gems %d / %d", found, gem_count);
  draw_changing_text(line, 20.0f, 14.0f, 0.0f, 0.0f, gold);
  outline_rectangle(20.0f, 46.0f, 200.0f, 16.0f, white, 2.0f, coordinates::screen);
  fill_rectangle(22.0f, 48.0f, 196.0f * static_cast<float>(found) / gem_count, 12.0f, gold, coordinates::screen);

  // The map: the world, the view, the gems left and the beetle.
  fill_rectangle(map_left, map_top, world_width * map_scale, world_height * map_scale, panel, coordinates::screen);
  outline_rectangle(map_left + camera.x * map_scale, map_top + camera.y * map_scale, display_width * map_scale,
                    display_height * map_scale, al_map_rgba_f(0.6f, 0.6f, 0.6f, 0.6f), 1.0f, coordinates::screen);
  for (const gem& g : gems) {
    if (g.found) continue;
    fill_rectangle(map_left + g.sprite.x * map_scale - 1.0f, map_top + g.sprite.y * map_scale - 1.0f, 3.0f, 3.0f,
                   violet, coordinates::screen);
  }
  fill_circle(map_left + beetle.x * map_scale, map_top + beetle.y * map_scale, 3.0f, beetle_mark,
              coordinates::screen);

  if (found == gem_count) draw_text("every gem found!", 400.0f, 540.0f, 0.5f, 0.5f, gold);
  if (game_paused) {
    fill_rectangle(0.0f, 0.0f, static_cast<float>(display_width), static_cast<float>(display_height),
                   al_map_rgba_f(0.0f, 0.0f, 0.0f, 0.5f), coordinates::screen);
    draw_text("paused - P goes on", 400.0f, 300.0f, 0.5f, 0.5f, white);
  }
}

void draw() {
  draw_world();
  draw_all_objects();
  draw_hud();
}
}  // namespace

int main(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--frames") == 0 && i + 1 < argc && std::atol(argv[i + 1]) > 0) {
      frames_left = std::atol(argv[++i]);
    } else {
      std::fprintf(stderr, "usage: explorer [--frames N]\n");
      return 2;
    }
  }
  clear_color = al_map_rgb(24, 32, 28);  // beyond the world's edge, seen while the camera shakes
  window_title = "EXPLORER";
  animation_clock = game_time;  // tweens and frame cycles pause with the game
  return run_game({.setup_world = setup, .update = update, .draw = draw});
}
