// For the platform files only: how a failed call is kept for LastError.
#pragma once

#include <cstdint>

namespace platform {

// Records number, and its description, as this thread's last error. Always
// false, so that a failing call can end with `return FailWith(...)`.
bool FailWith(int16_t number);

}  // namespace platform
