// UTF-8 (the program's text) to and from UTF-16 (the wide Windows API): the
// core's one conversion, under the front end's names.
#pragma once

#include "support/wide_text.h"

namespace win32_frontend {

using support::Narrow;
using support::Widen;

}  // namespace win32_frontend
