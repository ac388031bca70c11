#pragma once

#include <string>
#include <vector>

// The text of the start-up error report for the given messages, in order.
std::string build_startup_report(const std::vector<std::string>& errors);

// The program: start-up, world setup and the main loop.
int run_program();
