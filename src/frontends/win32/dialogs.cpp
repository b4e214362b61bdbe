#include "dialogs.h"

#include <shlobj.h>

#include <vector>

#include "wide_text.h"

namespace win32_frontend {
namespace {

// BIF_RETURNONLYFSDIRS: only a folder of the file system can be confirmed.
constexpr UINT kBrowseFlags = 1;
// Room for a long path (the manifest declares long-path awareness).
constexpr UINT kPathBufferLength = 32768;

}  // namespace

UINT MessageBoxStyle(wizard::MsgButtons buttons, wizard::MsgIcon icon) {
  UINT style = 0;
  switch (buttons) {
    case wizard::MsgButtons::OK:
      style = MB_OK;
      break;
    case wizard::MsgButtons::OKCancel:
      style = MB_OKCANCEL;
      break;
    case wizard::MsgButtons::YesNo:
      style = MB_YESNO;
      break;
  }
  switch (icon) {
    case wizard::MsgIcon::Critical:
      style |= MB_ICONSTOP;
      break;
    case wizard::MsgIcon::Question:
      style |= MB_ICONQUESTION;
      break;
    case wizard::MsgIcon::Exclamation:
      style |= MB_ICONEXCLAMATION;
      break;
  }
  return style;
}

wizard::MsgResult AnswerFromResult(int result, wizard::MsgButtons buttons) {
  switch (result) {
    case IDOK:
      return wizard::MsgResult::OK;
    case IDCANCEL:
      return wizard::MsgResult::Cancel;
    case IDYES:
      return wizard::MsgResult::Yes;
    case IDNO:
      return wizard::MsgResult::No;
    default:
      break;
  }
  switch (buttons) {
    case wizard::MsgButtons::OK:
      return wizard::MsgResult::OK;
    case wizard::MsgButtons::OKCancel:
      return wizard::MsgResult::Cancel;
    case wizard::MsgButtons::YesNo:
      break;
  }
  return wizard::MsgResult::No;
}

wizard::MsgResult ShowMessageBox(HWND owner, const std::string& text, const std::string& title,
                                 wizard::MsgButtons buttons, wizard::MsgIcon icon) {
  std::wstring wideText = Widen(text);
  std::wstring wideTitle = Widen(title);
  int result = MessageBoxW(owner, wideText.c_str(), wideTitle.c_str(), MessageBoxStyle(buttons, icon));
  return AnswerFromResult(result, buttons);
}

std::string PickFolder(const std::string& title) {
  // The picker is a COM client; COM is started for it only, so a program
  // that never opens it never waits for the system's COM services.
  HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
  std::wstring wideTitle = Widen(title);
  BROWSEINFOW browse{};
  browse.hwndOwner = GetActiveWindow();
  browse.lpszTitle = wideTitle.c_str();
  browse.ulFlags = kBrowseFlags;
  PIDLIST_ABSOLUTE item = SHBrowseForFolderW(&browse);
  std::vector<wchar_t> path(kPathBufferLength, L'\0');
  if (item != nullptr) {
    SHGetPathFromIDListEx(item, path.data(), kPathBufferLength, GPFIDL_DEFAULT);
    CoTaskMemFree(item);
  }
  if (SUCCEEDED(com)) CoUninitialize();
  return Narrow(path.data());
}

}  // namespace win32_frontend
