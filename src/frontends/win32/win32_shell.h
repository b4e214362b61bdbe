// The wizard's Shell on Windows: the system's message box and folder
// picker, the window showing each change at once, and the window's end.
#pragma once

#include "main_window.h"
#include "wizard/shell.h"

namespace win32_frontend {

// folder as a program started elevated sees it: the player's mapped and
// subst drives belong to the player's logon alone, so their drive letters
// give way to the share or folder behind them. "" for a network drive
// whose share cannot be found.
std::wstring PathSeenElevated(const std::wstring& folder);

class Win32Shell : public wizard::Shell {
 public:
  explicit Win32Shell(MainWindow& window) : window_(window) {}

  wizard::MsgResult MessageBox(int16_t stringId, const std::string& text, const std::string& title,
                               wizard::MsgButtons buttons, wizard::MsgIcon icon) override;
  std::string BrowseForFolder(const std::string& title) override;
  void ControlChanged(const wizard::Control& control) override;
  void KeepResponsive() override;
  void EndProgram() override;
  bool CanRestartElevated() override;
  bool RestartElevated(const std::string& gameFolder) override;

 private:
  MainWindow& window_;
};

}  // namespace win32_frontend
