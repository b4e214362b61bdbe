// rigbox-extract.exe: the car installer for Windows.
#include "app.h"
#include "system_api.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE /*previous*/, PWSTR /*commandLine*/, int showCommand) {
  win32_frontend::RestrictDllSearch();
  HeapSetInformation(nullptr, HeapEnableTerminationOnCorruption, nullptr, 0);
  return win32_frontend::RunInstaller(instance, showCommand);
}
