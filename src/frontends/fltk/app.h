// The installer program: the wizard window, or the console when the command
// line asks for it (--silent, --help, or a bad command line).
#pragma once

#include <optional>
#include <string>

#include "wizard/unattended.h"

namespace fltk_frontend {

// The whole program; returns its exit status.
int RunInstaller(int argc, char** argv);

// A command line for the console. Status texts go to stdout, the error
// boxes' texts and the usage after a bad command line to stderr.
int RunFromCommandLine(const std::string& programName, const std::optional<wizard::CommandLine>& commandLine);

// The wizard window until the program ends, open on its GameDir when
// given, logging to its Log when given.
int RunWizardWindow(const wizard::CommandLine& commandLine = {});

}  // namespace fltk_frontend
