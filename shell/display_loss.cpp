#include <tank/shell/display_loss.hpp>

#include <X11/Xlib.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstddef>
#include <cstdio>
#include <ctime>
#include <iterator>

#include <tank/shell/exit_status.hpp>

namespace tank {

namespace {
// Written out in full beforehand: the handlers may only make calls that are
// safe while another thread is anywhere, not even format a text.
char message[256] = {};
int message_length = 0;
std::atomic_flag reported = ATOMIC_FLAG_INIT;

[[noreturn]] void end_for_lost_display() {
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

int on_connection_lost(Display*) { end_for_lost_display(); }

// A connection to the X server of our own, opened before the library's and
// never used: when a fatal signal arrives, it tells whether the server is
// gone. The GL library talks to the server past the X library's checks, and
// when the server dies under it while the window is being made, it reads a
// reply that never came and crashes before the X library notices anything.
int probe = -1;

// The fatal signals a lost server causes, and what was in force for each.
constexpr int watched_signals[] = {SIGSEGV, SIGBUS, SIGPIPE};
struct sigaction previous_actions[std::size(watched_signals)] = {};

// Whether the server has closed the probe. A dying server closes its clients
// one after another, the library's perhaps first: up to a second is given to
// it. Only calls safe in a signal handler.
bool server_gone() {
  constexpr long patience_ns = 1'000'000'000;
  timespec start{};
  clock_gettime(CLOCK_MONOTONIC, &start);
  for (;;) {
    char discarded[256];
    const ssize_t got = recv(probe, discarded, sizeof discarded, MSG_DONTWAIT);
    if (got == 0) return true;  // closed
    if (got > 0) continue;      // something the server sends every client (a new keyboard mapping)
    if (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR) return true;  // reset
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    const long waited_ns = (now.tv_sec - start.tv_sec) * 1'000'000'000L + (now.tv_nsec - start.tv_nsec);
    if (waited_ns >= patience_ns) return false;
    pollfd readable{probe, POLLIN, 0};
    poll(&readable, 1, static_cast<int>((patience_ns - waited_ns) / 1'000'000) + 1);
  }
}

void on_fatal_signal(int signal, siginfo_t* info, void*) {
  const int saved_errno = errno;
  if (server_gone()) end_for_lost_display();
  // The server is there: this is a crash of its own, and it stays one. What
  // was in force before takes it: a fault happens again when the handler
  // returns, any other signal is raised anew and waits until then.
  for (std::size_t i = 0; i < std::size(watched_signals); ++i) {
    if (watched_signals[i] == signal) sigaction(signal, &previous_actions[i], nullptr);
  }
  const bool fault = signal != SIGPIPE && info && info->si_code > 0;
  if (!fault) raise(signal);
  errno = saved_errno;
}

void watch_fatal_signals() {
  // The library's threads share the X library: it must be made ready for
  // them before its first connection, which is this one now.
  XInitThreads();
  Display* connection = XOpenDisplay(nullptr);
  if (!connection) return;  // no server: nothing to lose
  probe = ConnectionNumber(connection);
  struct sigaction action = {};
  action.sa_sigaction = on_fatal_signal;
  action.sa_flags = SA_SIGINFO;
  sigemptyset(&action.sa_mask);
  for (std::size_t i = 0; i < std::size(watched_signals); ++i) {
    sigaction(watched_signals[i], &action, &previous_actions[i]);
  }
}
}  // namespace

void end_on_display_loss() {
  const int length =
      std::snprintf(message, sizeof message, "%s: lost the connection to the display, ending\n",
                    program_invocation_short_name);
  const int longest = static_cast<int>(sizeof message) - 1;
  message_length = length < 0 ? 0 : (length > longest ? longest : length);
  XSetIOErrorHandler(on_connection_lost);
  watch_fatal_signals();
}

}  // namespace tank
