// Functions of newer Windows versions, looked up at run time so the program
// still starts on the oldest systems it supports (they then fall back).
#pragma once

#include "windows_api.h"

namespace win32_frontend {

// The function name of module (a system DLL already loaded), or nullptr.
template <typename Function>
Function LookUp(const wchar_t* module, const char* name) {
  HMODULE handle = GetModuleHandleW(module);
  if (handle == nullptr) return nullptr;
  // Through void* because FARPROC and Function are unrelated types.
  return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(handle, name)));
}

// DPI of the window (of the primary screen before Windows 10 1607).
int WindowDpi(HWND window);

// The window rectangle for a client area of width x height at dpi.
RECT WindowRectForClient(int width, int height, DWORD style, DWORD exStyle, int dpi);

// GetSystemMetrics at dpi.
int SystemMetricForDpi(int index, int dpi);

}  // namespace win32_frontend
