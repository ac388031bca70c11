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
//
// The GL library does not always let the X library notice: a server gone
// while the window is being made can crash it (SIGSEGV, SIGBUS) or end the
// process on a write to the closed connection (SIGPIPE). Such a signal ends
// the process the same way when a connection of our own, opened here before
// the library's, finds the server gone too; otherwise it is the crash it
// seems and goes on to what was in force before. Call this before the
// library connects.
void end_on_display_loss();

}  // namespace tank
