// The installer without a window: --silent, --help, or a bad command line.
#pragma once

#include <optional>
#include <string>

#include "wizard/unattended.h"

namespace fltk_frontend {

// Status texts go to stdout, the error boxes' texts and the usage after a
// bad command line to stderr. Returns the exit status.
int RunConsole(const std::string& programName, const std::optional<wizard::CommandLine>& commandLine);

}  // namespace fltk_frontend
