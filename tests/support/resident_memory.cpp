#include "tests/support/resident_memory.hpp"

#include <fstream>
#include <string>

namespace {
long status_kib(const std::string& wanted) {
  std::ifstream status("/proc/self/status");
  for (std::string field; status >> field;) {
    long kib = 0;
    if (field == wanted && status >> kib) return kib;
  }
  return -1;
}
}  // namespace

long resident_kib() { return status_kib("VmRSS:"); }
long peak_resident_kib() { return status_kib("VmHWM:"); }
