#include <tank/shell/display_loss.hpp>

#include <X11/Xlib.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstddef>
#include <cstdio>
#include <ctime>

#include <tank/shell/exit_status.hpp>

namespace tank {

namespace {
// Written out in full beforehand: the handler may only make calls that are
// safe while another thread is anywhere, not even format a text.
char message[256] = {};
int message_length = 0;
std::atomic_flag reported = ATOMIC_FLAG_INIT;

int on_connection_lost(Display*) {
  if (reported.test_and_set()) {
    // Another thread noticed first and ends the process as soon as its line
    // is written: ending it from here could cut that line off.
    const timespec a_while{1, 0};
    nanosleep(&a_while, nullptr);
  } else {
    const ssize_t written = write(STDERR_FILENO, message, static_cast<std::size_t>(message_length));
    (void)written;  // nothing to do about a standard error that is gone too
  }
  _exit(failure_exit_status);
}
}  // namespace

void end_on_display_loss() {
  const int length =
      std::snprintf(message, sizeof message, "%s: lost the connection to the display, ending\n",
                    program_invocation_short_name);
  const int longest = static_cast<int>(sizeof message) - 1;
  message_length = length < 0 ? 0 : (length > longest ? longest : length);
  XSetIOErrorHandler(on_connection_lost);
}

}  // namespace tank
