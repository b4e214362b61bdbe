// The installer program: the wizard window, or the unattended mode when
// the command line asks for it.
#pragma once

#include <string>
#include <vector>

#include "windows_api.h"

namespace win32_frontend {

// The whole program; returns its exit status.
int RunInstaller(HINSTANCE instance, int showCommand);

// The unattended mode for a non-empty argument list.
int RunFromCommandLine(const std::vector<std::string>& arguments);

// The wizard window until it closes.
int RunWizard(HINSTANCE instance, int showCommand);

}  // namespace win32_frontend
