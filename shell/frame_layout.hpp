#pragma once

namespace tank {

// Where the frame goes in a window of another size: scaled to the largest
// size that fits with its aspect kept, centred, on whole pixels; the rest of
// the window is left to be black.
struct frame_layout {
  int left = 0;  // the frame's top-left corner in the window
  int top = 0;
  int width = 0;  // its size there
  int height = 0;

  bool is_unscaled(int frame_width, int frame_height) const {
    return left == 0 && top == 0 && width == frame_width && height == frame_height;
  }
};

// A window of no area gets a frame of no area.
frame_layout fit_frame(int frame_width, int frame_height, int window_width, int window_height);

}  // namespace tank
