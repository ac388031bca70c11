#include <tank/input/press_counts.hpp>

#include <cstddef>

#include <tank/input/key_state.hpp>

namespace tank {

namespace {
// The entry of a control code, or null; for counts and const counts alike.
template <typename Counts>
auto entry(Counts& counts, int code) -> decltype(&counts.keys[0]) {
  if (is_key_code(code)) return &counts.keys[static_cast<std::size_t>(code)];
  if (code < 0 && code >= -static_cast<int>(counts.buttons.size())) {
    return &counts.buttons[static_cast<std::size_t>(-code - 1)];
  }
  return nullptr;
}
}  // namespace

int press_counts::of(int code) const {
  const int* count = entry(*this, code);
  return count ? *count : 0;
}

void press_counts::add(int code, int count) {
  if (int* counted = entry(*this, code)) *counted += count;
}

}  // namespace tank
