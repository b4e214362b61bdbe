// <windows.h> for this front end: the platform layer's version of it (no
// macros renaming platform::DeleteFile and the like), and without the
// MessageBox macro, so wizard::Shell::MessageBox keeps its name in every
// file that sees both. The system's functions are called by their W names.
#pragma once

#include "support/windows_include.h"

#undef MessageBox
