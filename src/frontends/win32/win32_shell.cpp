#include "win32_shell.h"

#include <shellapi.h>

#include "dialogs.h"
#include "support/platform.h"
#include "wide_text.h"
#include "wizard/string_table.h"

namespace win32_frontend {
bool SeenElevated(std::wstring& folder) {
  if (folder.size() < 2 || folder[1] != L':') return true;
  wchar_t drive[] = {folder[0], L':', 0, 0};
  wchar_t target[MAX_PATH + 8];
  // A subst drive stands for "\??\C:\folder".
  if (QueryDosDeviceW(drive, target, MAX_PATH + 8) != 0 && target[1] == L'?' && target[5] == L':') {
    folder = target + 4 + folder.substr(2);
    return true;
  }
  drive[2] = L'\\';
  return GetDriveTypeW(drive) != DRIVE_REMOTE;
}

wizard::MsgResult Win32Shell::MessageBox(int16_t /*stringId*/, const std::string& text,
                                         const std::string& title, wizard::MsgButtons buttons,
                                         wizard::MsgIcon icon) {
  return ShowMessageBox(window_.Handle(), text, title, buttons, icon);
}

std::string Win32Shell::BrowseForFolder(const std::string& title) { return PickFolder(title); }

void Win32Shell::ControlChanged(const wizard::Control& control) { window_.ShowChange(control); }

void Win32Shell::KeepResponsive() { window_.DrainWhileRunning(); }

void Win32Shell::EndProgram() { window_.Close(); }

bool Win32Shell::CanRestartElevated() { return !platform::IsElevated(); }

bool Win32Shell::RestartElevated(const std::string& gameFolder, const std::string& logPath) {
  std::wstring folder = Widen(gameFolder);
  if (!SeenElevated(folder)) {
    ShowMessageBox(window_.Handle(), wizard::LoadResString(wizard::kResDriveHidden).append(gameFolder, 0, 2),
                   wizard::LoadResString(wizard::kResErrorTitle), wizard::MsgButtons::OK,
                   wizard::MsgIcon::Critical);
    return false;
  }
  // Without its last separator: a backslash before the closing quote would
  // escape it. The wizard adds it again ("C:" becomes "C:\\").
  folder.erase(folder.find_last_not_of(L"\\/") + 1);
  std::wstring parameters = L"--game-dir \"" + folder + L"\"";
  if (!logPath.empty()) parameters += L" --log \"" + Widen(logPath) + L"\"";
  return StartElevated(window_.Handle(), Widen(platform::ExecutablePath()), parameters, nullptr);
}

bool StartElevated(HWND window, const std::wstring& program, const std::wstring& parameters, DWORD* status) {
  SHELLEXECUTEINFOW info{};
  info.cbSize = sizeof info;
  info.fMask = SEE_MASK_NOASYNC | (status != nullptr ? SEE_MASK_NOCLOSEPROCESS : 0);
  info.hwnd = window;
  info.lpVerb = L"runas";
  info.lpFile = program.c_str();
  info.lpParameters = parameters.c_str();
  info.nShow = SW_SHOWNORMAL;
  // The same working folder, so that a relative log or folder names the
  // same place (an elevated program otherwise starts in System32).
  wchar_t folder[MAX_PATH];
  DWORD length = GetCurrentDirectoryW(MAX_PATH, folder);
  if (length != 0 && length < MAX_PATH) info.lpDirectory = folder;
  // False too when the player declines the system's question.
  if (ShellExecuteExW(&info) == FALSE) return false;
  if (status != nullptr && info.hProcess != nullptr) {
    WaitForSingleObject(info.hProcess, INFINITE);
    GetExitCodeProcess(info.hProcess, status);
    CloseHandle(info.hProcess);
  }
  return true;
}

}  // namespace win32_frontend
