#include "app/startup.hpp"

std::string build_startup_report(const std::vector<std::string>& errors) {
  std::string report = "The following errors occured during startup:\n\n";
  for (const std::string& message : errors) report += message + "\n";
  report += "\nThe program must now be shut down.";
  return report;
}

int run_program() { return 0; }
