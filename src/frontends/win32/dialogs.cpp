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

// Wine sizes a message box by its text and buttons alone, and a window
// manager then shortens a title that does not fit ("RIGB... tract"). The
// box is widened to its title in the caption font, half as wide again for
// a window manager's own face, with room for the icon and three caption
// buttons; its contents move to the middle.
void WidenToTitle(HWND box) {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) return;
  wchar_t title[256];
  int length = GetWindowTextW(box, title, 256);
  HDC dc = GetDC(box);
  HFONT font = CreateFontIndirectW(&metrics.lfCaptionFont);
  HGDIOBJ old = SelectObject(dc, font);
  SIZE text{};
  GetTextExtentPoint32W(dc, title, length, &text);
  SelectObject(dc, old);
  DeleteObject(font);
  ReleaseDC(box, dc);
  RECT frame;
  GetWindowRect(box, &frame);
  int width = frame.right - frame.left;
  int grow = text.cx * 3 / 2 + 4 * metrics.iCaptionWidth - width;
  if (grow <= 0) return;
  SetWindowPos(box, nullptr, frame.left - grow / 2, frame.top, width + grow, frame.bottom - frame.top,
               SWP_NOZORDER | SWP_NOACTIVATE);
  for (HWND child = GetWindow(box, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
    RECT place;
    GetWindowRect(child, &place);
    MapWindowPoints(HWND_DESKTOP, box, reinterpret_cast<POINT*>(&place), 2);
    SetWindowPos(child, nullptr, place.left + grow / 2, place.top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

HHOOK widening = nullptr;

// The box's first activation comes once it has laid itself out.
LRESULT CALLBACK OnBoxActivation(int code, WPARAM wParam, LPARAM lParam) {
  if (code != HCBT_ACTIVATE) return CallNextHookEx(nullptr, code, wParam, lParam);
  UnhookWindowsHookEx(widening);
  widening = nullptr;
  WidenToTitle(reinterpret_cast<HWND>(wParam));
  return 0;
}

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
  widening = SetWindowsHookExW(WH_CBT, OnBoxActivation, nullptr, GetCurrentThreadId());
  int result = MessageBoxW(owner, wideText.c_str(), wideTitle.c_str(), MessageBoxStyle(buttons, icon));
  if (widening != nullptr) UnhookWindowsHookEx(widening);  // a box never shown
  widening = nullptr;
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
