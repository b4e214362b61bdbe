// The installer program: the wizard window, or the unattended mode when
// the command line asks for it.
#pragma once

#include <optional>

#include "windows_api.h"
#include "wizard/unattended.h"

namespace win32_frontend {

// The whole program; returns its exit status.
int RunInstaller(HINSTANCE instance, int showCommand);

// A command line for the console: usage, help or the unattended mode.
int RunFromCommandLine(const std::optional<wizard::CommandLine>& commandLine);

// The wizard window until it closes.
int RunWizard(HINSTANCE instance, int showCommand);

}  // namespace win32_frontend
