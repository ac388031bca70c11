#pragma once

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <vector>

// Nearest rank: the smallest of the values that at least `percent` of them do
// not exceed. Zero for no values.
inline double percentile(std::vector<double> values, double percent) {
  if (values.empty()) return 0.0;
  std::sort(values.begin(), values.end());
  const auto rank = static_cast<std::size_t>(std::ceil(percent / 100.0 * static_cast<double>(values.size())));
  return values[std::clamp<std::size_t>(rank, 1, values.size()) - 1];
}
