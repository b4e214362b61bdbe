// The installer without a window: --silent, --help, or a bad command line.
#pragma once

#include <string>
#include <vector>

namespace fltk_frontend {

// arguments: the command line after the program name. Status texts go to
// stdout, the error boxes' texts and the usage after a bad command line to
// stderr. Returns the exit status.
int RunConsole(const std::string& programName, const std::vector<std::string>& arguments);

}  // namespace fltk_frontend
