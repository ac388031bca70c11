#include "app/startup.hpp"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

TEST(StartupReport, OneFailure) {
  EXPECT_EQ(build_startup_report({"could not load font \"data/lacuna.ttf\""}),
            "The following errors occured during startup:\n"
            "\n"
            "could not load font \"data/lacuna.ttf\"\n"
            "\n"
            "The program must now be shut down.");
}

TEST(StartupReport, SeveralFailuresInTheOrderGiven) {
  EXPECT_EQ(build_startup_report({"Could not initialize audio.", "Could not reserve sample memory.",
                                  "Error creating the display."}),
            "The following errors occured during startup:\n\n"
            "Could not initialize audio.\nCould not reserve sample memory.\nError creating the display.\n"
            "\nThe program must now be shut down.");
}

// Runs start-up in a child process (the library and the program's globals
// start only once per process) from `folder`, with no display, and returns
// the messages it gathered.
std::vector<std::string> start_up_in_child(const fs::path& folder, bool audio) {
  int pipe_ends[2];
  if (pipe(pipe_ends) != 0) return {"pipe failed"};
  const pid_t child = fork();
  if (child == 0) {
    close(pipe_ends[0]);
    unsetenv("DISPLAY");
    // The silent output device, or a configuration the audio system cannot start with.
    setenv("ALSOFT_DRIVERS", audio ? "null" : "no-such-backend", 1);
    setenv("HOME", folder.c_str(), 1);
    if (chdir(folder.c_str()) != 0) _exit(2);
    std::string out;
    for (const std::string& message : start_up()) out += message + "\n";
    if (write(pipe_ends[1], out.data(), out.size()) != static_cast<ssize_t>(out.size())) _exit(3);
    _exit(0);
  }
  close(pipe_ends[1]);
  std::string text;
  char buffer[512];
  for (ssize_t n; (n = read(pipe_ends[0], buffer, sizeof buffer)) > 0;) text.append(buffer, n);
  close(pipe_ends[0]);
  int status = 0;
  waitpid(child, &status, 0);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return {"child failed"};
  std::vector<std::string> messages;
  for (size_t start = 0, end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
    messages.push_back(text.substr(start, end - start));
  }
  return messages;
}

TEST(Startup, EveryCombinationOfMissingPlaceholdersIsReportedInStepOrder) {
  const fs::path repo = fs::current_path();
  ASSERT_TRUE(fs::exists(repo / "data/lacuna.ttf")) << "run from the repository root";
  const fs::path scratch = fs::temp_directory_path() / ("tank-startup-" + std::to_string(getpid()));
  const char* placeholders[] = {"data/missing_sample.wav", "data/missing_image.png", "data/lacuna.ttf"};

  for (int missing = 0; missing < 8; ++missing) {
    for (bool audio : {true, false}) {
      fs::remove_all(scratch);
      fs::create_directories(scratch / "data");
      for (int i = 0; i < 3; ++i) {
        if (!(missing & (1 << i))) fs::copy_file(repo / placeholders[i], scratch / placeholders[i]);
      }
      // The audio system is started through the user's configuration.
      std::FILE* config = std::fopen((scratch / ".allegro5rc").c_str(), "w");
      ASSERT_NE(config, nullptr);
      std::fputs("[audio]\ndriver=openal\n", config);
      std::fclose(config);

      std::vector<std::string> expected;
      if (!audio) {
        expected.push_back("Could not initialize audio.");
        expected.push_back("Could not reserve sample memory.");
      }
      // A sample cannot be loaded without an audio system to hold it.
      if ((missing & 1) || !audio) expected.push_back("could not load sample \"data/missing_sample.wav\"");
      expected.push_back("Error creating the display.");
      if (missing & 2) expected.push_back("could not load image \"data/missing_image.png\"");
      if (missing & 4) expected.push_back("could not load font \"data/lacuna.ttf\"");

      EXPECT_EQ(start_up_in_child(scratch, audio), expected) << "missing mask " << missing << ", audio " << audio;
    }
  }
  fs::remove_all(scratch);
}

}  // namespace
