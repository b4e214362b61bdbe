// <windows.h> for files that also call the platform layer: the system
// header turns SetFileAttributes, DeleteFile and ReplaceFile into macros for
// its ...A/...W functions, which would rename platform::SetFileAttributes and
// the others at every call. Include this instead of <windows.h>; call the
// system functions by their W names.
#pragma once

#ifndef _WIN32
#error "windows_include.h is for Windows builds only"
#endif

#include <windows.h>

#undef SetFileAttributes
#undef DeleteFile
#undef ReplaceFile
