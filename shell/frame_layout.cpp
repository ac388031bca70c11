#include <tank/shell/frame_layout.hpp>

#include <algorithm>
#include <cmath>

namespace tank {

frame_layout fit_frame(int frame_width, int frame_height, int window_width, int window_height) {
  if (frame_width <= 0 || frame_height <= 0 || window_width <= 0 || window_height <= 0) return {};
  const double scale = std::min(static_cast<double>(window_width) / frame_width,
                                static_cast<double>(window_height) / frame_height);
  // The side that fills the window does so exactly; the other is rounded.
  const int width = std::min(window_width, static_cast<int>(std::lround(frame_width * scale)));
  const int height = std::min(window_height, static_cast<int>(std::lround(frame_height * scale)));
  return {(window_width - width) / 2, (window_height - height) / 2, width, height};
}

}  // namespace tank
