// The wizard's Shell on Windows: the system's message box and folder
// picker, the window showing each change at once, and the window's end.
#pragma once

#include "main_window.h"
#include "wizard/shell.h"

namespace win32_frontend {

// The player's subst and mapped drives belong to the player's logon, which
// a program started elevated does not share: a subst drive's letter gives
// way to the folder behind it. False for a network drive, which the
// elevated program may not see at all.
bool SeenElevated(std::wstring& folder);

// Starts program as administrator, the system asking the player; with
// status, waits for it to end and gives its exit status. False when it
// did not start (declined, too).
bool StartElevated(HWND window, const std::wstring& program, const std::wstring& parameters, DWORD* status);

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
  bool RestartElevated(const std::string& gameFolder, const std::string& logPath) override;

 private:
  MainWindow& window_;
};

}  // namespace win32_frontend
