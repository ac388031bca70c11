#include "tests/support/child_process.hpp"

#include <sys/wait.h>
#include <unistd.h>

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
}  // namespace

std::vector<std::string> lines_from_child(const std::filesystem::path& folder, bool audio,
                                          const std::function<std::vector<std::string>()>& body) {
  // OpenAL, told by the environment which output to use, decides whether the
  // audio system can start, whatever sound devices the machine has.
  std::ofstream(folder / ".allegro5rc") << "[audio]\ndriver=openal\n";
  int pipe_ends[2];
  if (pipe(pipe_ends) != 0) return {"pipe failed"};
  const pid_t child = fork();
  if (child < 0) return {"fork failed"};
  if (child == 0) {
    close(pipe_ends[0]);
    alarm(120);
    unsetenv("DISPLAY");
    setenv("ALSOFT_DRIVERS", audio ? "null" : "no-such-backend", 1);
    setenv("HOME", folder.c_str(), 1);
    if (chdir(folder.c_str()) != 0) _exit(2);
    std::string out;
    for (const std::string& line : body()) out += line + "\n";
    write_all(pipe_ends[1], out);
    _exit(0);
  }
  close(pipe_ends[1]);
  const std::string text = read_all(pipe_ends[0]);
  close(pipe_ends[0]);
  int status = 0;
  waitpid(child, &status, 0);

  std::vector<std::string> lines;
  for (size_t start = 0, end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
    lines.push_back(text.substr(start, end - start));
  }
  if (WIFSIGNALED(status)) lines.push_back("killed by signal " + std::to_string(WTERMSIG(status)));
  if (WIFEXITED(status) && WEXITSTATUS(status) != 0) {
    lines.push_back("exit status " + std::to_string(WEXITSTATUS(status)));
  }
  return lines;
}
