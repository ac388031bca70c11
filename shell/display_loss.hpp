#pragma once

namespace tank {

// From now on, losing the connection to the X server (the server ended with
// the session, or was killed) ends the process at once with
// failure_exit_status (tank/shell/exit_status.hpp) and one line on standard error.
//
// By default the X library calls exit() from whichever threads notice, the
// main one in the middle of a flip and the library's event thread alike, and
// both then run the exit-time teardown over each other: crashes, failed
// assertions and deadlocks. Here the first thread to notice ends the process
// without any teardown: there is nothing worth saving once the window is gone.
void end_on_display_loss();

}  // namespace tank
