#include "tests/support/child_process.hpp"

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>

namespace {
void write_all(int fd, const std::string& text) {
  for (size_t written = 0; written < text.size();) {
    const ssize_t n = write(fd, text.data() + written, text.size() - written);
    if (n <= 0) _exit(3);
    written += static_cast<size_t>(n);
  }
}

std::string read_all(int fd) {
  std::string text;
  char buffer[512];
  for (ssize_t n; (n = read(fd, buffer, sizeof buffer)) > 0;) text.append(buffer, static_cast<size_t>(n));
  return text;
}

// In the child: what every child works with (see the header).
void enter_child(const std::filesystem::path& folder, bool audio) {
  alarm(120);
  unsetenv("DISPLAY");
  setenv("ALSOFT_DRIVERS", audio ? "null" : "no-such-backend", 1);
  setenv("HOME", folder.c_str(), 1);
  if (chdir(folder.c_str()) != 0) _exit(2);
}

// Waits for the child; a line when it did not end with status 0.
std::string how_it_ended(pid_t child) {
  int status = 0;
  waitpid(child, &status, 0);
  if (WIFSIGNALED(status)) return "killed by signal " + std::to_string(WTERMSIG(status)) + "\n";
  if (WIFEXITED(status) && WEXITSTATUS(status) != 0) return "exit status " + std::to_string(WEXITSTATUS(status)) + "\n";
  return "";
}

// Forks a child that runs `in_child` with the write end of a pipe, and
// returns what it wrote there and how it ended.
std::string from_child(const std::filesystem::path& folder, const std::function<void(int)>& in_child) {
  // OpenAL, told by the environment which output to use, decides whether the
  // audio system can start, whatever sound devices the machine has.
  std::ofstream(folder / ".allegro5rc") << "[audio]\ndriver=openal\n";
  int pipe_ends[2];
  if (pipe(pipe_ends) != 0) return "pipe failed\n";
  std::fflush(nullptr);  // nothing buffered is written twice
  const pid_t child = fork();
  if (child < 0) return "fork failed\n";
  if (child == 0) {
    close(pipe_ends[0]);
    in_child(pipe_ends[1]);
    _exit(0);
  }
  close(pipe_ends[1]);
  const std::string text = read_all(pipe_ends[0]);
  close(pipe_ends[0]);
  return text + how_it_ended(child);
}
}  // namespace

std::vector<std::string> lines_from_child(const std::filesystem::path& folder, bool audio,
                                          const std::function<std::vector<std::string>()>& body) {
  const std::string text = from_child(folder, [&](int out) {
    enter_child(folder, audio);
    std::string lines;
    for (const std::string& line : body()) lines += line + "\n";
    write_all(out, lines);
  });
  std::vector<std::string> lines;
  for (size_t start = 0, end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
    lines.push_back(text.substr(start, end - start));
  }
  return lines;
}

std::string standard_error_of_child(const std::filesystem::path& folder, bool audio,
                                    const std::function<void()>& body) {
  return from_child(folder, [&](int out) {
    dup2(out, STDERR_FILENO);
    close(out);
    enter_child(folder, audio);
    body();
    std::exit(0);
  });
}
