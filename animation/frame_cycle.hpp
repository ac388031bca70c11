#pragma once

namespace tank {

// What a cycle does after its last frame: starts again from its first, or
// stays on its last.
enum class frame_repeat { loop, once };

// Frames of a sprite sheet shown one after another at a steady rate, named
// so that no two numbers can be swapped unnoticed:
//
//   player.cycle_frames({.first = 4, .count = 4, .fps = 8});
//
// Parts left out keep these values: from frame 0 to the sheet's last, ten
// frames a second, looping.
struct frame_cycle {
  int first = 0;  // the first frame shown
  int count = 0;  // 0: every frame from `first` to the sheet's last
  double fps = 10.0;  // frames a second
  frame_repeat repeat = frame_repeat::loop;  // after the last frame
};

// A cycle under way, timed by the animation clock (current_time()) as the
// animators are: a game that stops or slows that clock stops or slows its
// frames with its tweens.
struct frame_cycle_player {
  frame_cycle cycle;  // with its count resolved; 0 while nothing plays
  double start_time = 0.0;  // the clock when it started
  double pause_time = 0.0;  // the clock when it was paused
  bool paused = false;      // by pause, until resume

  // From the cycle's first frame, now. A cycle of no frames stops the player.
  void start(const frame_cycle& what);
  void stop();
  bool playing() const { return cycle.count > 0; }
  // Pausing twice, or resuming what is not paused, changes nothing.
  void pause();
  void resume();
  // The frame the cycle shows now; `cycle.first` before it starts, or when
  // its rate is not a positive number.
  int frame() const;
  // A cycle played once has finished when its last frame has shown for its
  // time; a looping one never does.
  bool finished() const;

 private:
  // How many frames' time has passed since the start (paused time left out).
  double steps() const;
};

}  // namespace tank
