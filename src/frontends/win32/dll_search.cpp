#include "dll_search.h"

// <commctrl.h> needs <windows.h> first.
#include "system_api.h"

#include <commctrl.h>

#ifndef LOAD_LIBRARY_SEARCH_SYSTEM32
#define LOAD_LIBRARY_SEARCH_SYSTEM32 0x00000800
#endif

namespace win32_frontend {
namespace {

using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
using SetDllDirectoryFn = BOOL(WINAPI*)(LPCWSTR);
using InitCommonControlsExFn = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);

// What the system's own DLLs load by name, each ended by a NUL; LoadLibrary
// adds the ".dll". Packed byte by byte: the stub has no room to spare.
constexpr char kSystemDllNames[] =
    "uxtheme\0dwmapi\0cryptbase\0propsys\0profapi\0userenv\0version\0"
    "winmm\0secur32\0apphelp\0oleacc\0clbcatq\0setupapi\0";

// Where the search cannot be restricted, what the system would look for
// beside the program is loaded from System32 first: a later load by name
// finds it loaded. Their own imports come from System32 too.
void PreloadSystemDlls() {
  wchar_t path[MAX_PATH + 16];
  UINT folder = GetSystemDirectoryW(path, MAX_PATH);
  if (folder == 0 || folder >= MAX_PATH) return;
  path[folder++] = L'\\';
  for (const char* name = kSystemDllNames; *name != '\0'; ++name) {
    UINT end = folder;
    while (*name != '\0') path[end++] = static_cast<wchar_t>(*name++);
    path[end] = L'\0';
    LoadLibraryExW(path, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
  }
}

}  // namespace

void RestrictDllSearch() {
  auto setDefault = LookUp<SetDefaultDllDirectoriesFn>(L"kernel32.dll", "SetDefaultDllDirectories");
  if (setDefault != nullptr && setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32)) return;
  // Windows Vista and 7 without the update that brought it: at least the
  // current folder is left out of the search.
  auto setDirectory = LookUp<SetDllDirectoryFn>(L"kernel32.dll", "SetDllDirectoryW");
  if (setDirectory != nullptr) setDirectory(L"");
  PreloadSystemDlls();
}

void StartCommonControls() {
  HMODULE controls = LoadLibraryW(L"comctl32.dll");
  if (controls == nullptr) return;
  // Through void* because FARPROC and the function's type are unrelated.
  auto init = reinterpret_cast<InitCommonControlsExFn>(
      reinterpret_cast<void*>(GetProcAddress(controls, "InitCommonControlsEx")));
  INITCOMMONCONTROLSEX classes{sizeof classes, ICC_STANDARD_CLASSES | ICC_PROGRESS_CLASS};
  if (init != nullptr) init(&classes);
}

}  // namespace win32_frontend
