#pragma once

namespace tank {

// The status a program ends with when it cannot go on: a start-up failure or
// the loss of its display. Quitting as the player asked ends with 0.
constexpr int failure_exit_status = 1;

}  // namespace tank
