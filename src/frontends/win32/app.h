// The installer program: the wizard window, or the unattended mode when
// the command line asks for it.
#pragma once

#include <optional>
#include <string>

#include "windows_api.h"
#include "wizard/unattended.h"

namespace win32_frontend {

// The whole program; returns its exit status.
int RunInstaller(HINSTANCE instance, int showCommand);

// A command line for the console: usage, help or the unattended mode.
int RunFromCommandLine(const std::optional<wizard::CommandLine>& commandLine);

// The wizard window until it closes, open on its GameDir when given,
// logging to its Log when given.
int RunWizard(HINSTANCE instance, int showCommand, const wizard::CommandLine& commandLine = {});

}  // namespace win32_frontend
