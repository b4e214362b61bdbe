#include "win32_shell.h"

#include "dialogs.h"

namespace win32_frontend {

wizard::MsgResult Win32Shell::MessageBox(const std::string& text, const std::string& title,
                                         wizard::MsgButtons buttons, wizard::MsgIcon icon) {
  return ShowMessageBox(window_.Handle(), text, title, buttons, icon);
}

std::string Win32Shell::BrowseForFolder(const std::string& title) { return PickFolder(title); }

void Win32Shell::ControlChanged(const wizard::Control& control) { window_.ShowChange(control); }

void Win32Shell::KeepResponsive() { window_.DrainWhileRunning(); }

void Win32Shell::EndProgram() { window_.Close(); }

}  // namespace win32_frontend
