#pragma once

namespace tank {

// The clock animators read: seconds as a double. It is the library's clock
// unless something (a test, a headless run) installs another source.
using clock_function = double (*)();
extern clock_function animation_clock;

// The clock's reading.
inline double current_time() { return animation_clock(); }

}  // namespace tank
