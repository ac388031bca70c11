#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

// Runs `body` in a forked child process, so that the library and the
// program's globals start afresh (they start once per process). The child
// works from `folder` (also its HOME, where a library configuration is
// written), sees no display, and has the silent audio device when `audio` is
// set, else one the audio system cannot start with.
//
// Returns the lines `body` returned, followed by a line saying how the child
// died when it did not end normally. A child still running after two minutes
// is killed, so a hang fails one case instead of the whole run.
std::vector<std::string> lines_from_child(const std::filesystem::path& folder, bool audio,
                                          const std::function<std::vector<std::string>()>& body);
