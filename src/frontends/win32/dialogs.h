// The system's message box and folder picker, as the wizard asks for them.
#pragma once

#include "windows_api.h"

#include <string>

#include "wizard/shell.h"

namespace win32_frontend {

// The MB_ style for a button set and an icon.
UINT MessageBoxStyle(wizard::MsgButtons buttons, wizard::MsgIcon icon);

// The answer for MessageBoxW's result. A box that could not be shown (0)
// counts as the answer that changes nothing: Cancel or No.
wizard::MsgResult AnswerFromResult(int result, wizard::MsgButtons buttons);

// A modal MessageBoxW owned by owner.
wizard::MsgResult ShowMessageBox(HWND owner, const std::string& text, const std::string& title,
                                 wizard::MsgButtons buttons, wizard::MsgIcon icon);

// SHBrowseForFolderW over the active window, only file-system folders;
// the chosen folder or empty text when the player cancels.
std::string PickFolder(const std::string& title);

}  // namespace win32_frontend
