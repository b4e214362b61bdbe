// rigbox-extract.exe: the car installer for Windows.
//
// The program has its own entry point in place of the C runtime's start-up
// code: msvcrt.dll sets itself up when it loads, and the start-up code's
// argument parsing, TLS callbacks, pseudo-relocations and unwind tables
// (about 10 KB of the stub) serve nothing here. What the program needs of
// it is below: the static constructors, and atexit for their destructors.
#include <cstdlib>

#include "app.h"
#include "dll_search.h"
#include "windows_api.h"

// The static constructors: the linker lists them between a -1 and a 0.
extern "C" void (*__CTOR_LIST__[])();

// msvcrt.dll's atexit is not meant to be called from a program; its
// _onexit is, and exit() runs what it registered.
extern "C" int atexit(void (*function)()) {
  return _onexit(reinterpret_cast<_onexit_t>(function)) != nullptr ? 0 : -1;
}

namespace {

void RunStaticConstructors() {
  std::size_t count = 1;
  while (__CTOR_LIST__[count] != nullptr) ++count;
  // Last to first, as the compiler's own runtime does.
  while (--count > 0) __CTOR_LIST__[count]();
}

}  // namespace

extern "C" [[noreturn]] void RigboxEntry() {
  win32_frontend::RestrictDllSearch();
  HeapSetInformation(nullptr, HeapEnableTerminationOnCorruption, nullptr, 0);
  RunStaticConstructors();
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  GetStartupInfoW(&startup);
  const int showCommand =
      (startup.dwFlags & STARTF_USESHOWWINDOW) != 0 ? startup.wShowWindow : SW_SHOWDEFAULT;
  std::exit(win32_frontend::RunInstaller(GetModuleHandleW(nullptr), showCommand));
}
