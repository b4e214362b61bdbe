#include "win32_shell.h"

#include <shellapi.h>

#include "dialogs.h"
#include "support/platform.h"
#include "wide_text.h"

namespace win32_frontend {

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

bool Win32Shell::RestartElevated(const std::string& gameFolder) {
  // Without its last separator: a backslash before the closing quote would
  // escape it. The wizard adds it again ("C:" becomes "C:\\").
  std::wstring folder = Widen(gameFolder);
  folder.erase(folder.find_last_not_of(L"\\/") + 1);
  std::wstring parameters = L"--game-dir \"" + folder + L"\"";
  std::wstring program = Widen(platform::ExecutablePath());
  SHELLEXECUTEINFOW info{};
  info.cbSize = sizeof info;
  info.fMask = SEE_MASK_NOASYNC;
  info.hwnd = window_.Handle();
  info.lpVerb = L"runas";
  info.lpFile = program.c_str();
  info.lpParameters = parameters.c_str();
  info.nShow = SW_SHOWNORMAL;
  // False too when the player declines the system's question.
  return ShellExecuteExW(&info) != FALSE;
}

}  // namespace win32_frontend
