#include "controls.h"

#include <commctrl.h>

#include <cwchar>

#include "wide_text.h"

namespace win32_frontend {
namespace {

constexpr const wchar_t* kPanelClass = L"RigboxPanel";

DWORD CommonStyle(const Placement& place) {
  DWORD style = WS_CHILD | WS_CLIPSIBLINGS;
  if (place.Visible) style |= WS_VISIBLE;
  if (!place.Enabled) style |= WS_DISABLED;
  return style;
}

HWND CreateChild(DWORD exStyle, const wchar_t* className, std::string_view text, DWORD style,
                 const Placement& place, void* parameter = nullptr) {
  std::wstring wideText = Widen(text);
  return CreateWindowExW(exStyle, className, wideText.c_str(), style | CommonStyle(place), place.Bounds.Left,
                         place.Bounds.Top, place.Bounds.Width, place.Bounds.Height, place.Parent,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(place.Id)), GetModuleHandleW(nullptr),
                         parameter);
}

const PanelLook* LookOf(HWND panel) {
  return reinterpret_cast<const PanelLook*>(GetWindowLongPtrW(panel, GWLP_USERDATA));
}

void PaintPicture(HDC dc, const RECT& client, HBITMAP picture) {
  BITMAP info{};
  if (GetObjectW(picture, sizeof info, &info) == 0) return;
  HDC source = CreateCompatibleDC(dc);
  HGDIOBJ old = SelectObject(source, picture);
  int width = client.right - client.left;
  int height = client.bottom - client.top;
  if (width == info.bmWidth && height == info.bmHeight) {
    BitBlt(dc, client.left, client.top, width, height, source, 0, 0, SRCCOPY);
  } else {
    SetStretchBltMode(dc, HALFTONE);
    SetBrushOrgEx(dc, 0, 0, nullptr);
    StretchBlt(dc, client.left, client.top, width, height, source, 0, 0, info.bmWidth, info.bmHeight,
               SRCCOPY);
  }
  SelectObject(source, old);
  DeleteDC(source);
}

// A panel only draws; what its children report goes to the window that
// holds the wizard.
LRESULT CALLBACK PanelProc(HWND panel, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_NCCREATE: {
      auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
      SetWindowLongPtrW(panel, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
      break;
    }
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(panel, &paint);
      RECT client;
      GetClientRect(panel, &client);
      if (const PanelLook* look = LookOf(panel)) PaintPanel(dc, client, *look);
      EndPaint(panel, &paint);
      return 0;
    }
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORLISTBOX:
      return SendMessageW(GetAncestor(panel, GA_ROOT), message, wParam, lParam);
    default:
      break;
  }
  return DefWindowProcW(panel, message, wParam, lParam);
}

}  // namespace

bool RegisterPanelClass(HINSTANCE instance) {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  if (GetClassInfoExW(instance, kPanelClass, &windowClass)) return true;
  windowClass.lpfnWndProc = PanelProc;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.lpszClassName = kPanelClass;
  return RegisterClassExW(&windowClass) != 0;
}

HWND CreateLabel(const LabelArgs& args) {
  // A path stays on one line; ShortenPath shortens it to fit.
  DWORD type = args.PathEllipsis ? SS_LEFTNOWORDWRAP : SS_LEFT;
  return CreateChild(0, L"STATIC", args.Text, type | SS_NOPREFIX, args.Place);
}

HWND CreateButton(const ButtonArgs& args) {
  return CreateChild(0, L"BUTTON", args.Text, BS_PUSHBUTTON | WS_TABSTOP, args.Place);
}

HWND CreatePanel(const PanelArgs& args) {
  DWORD exStyle = args.HoldsControls ? WS_EX_CONTROLPARENT : 0;
  DWORD style = args.PaintsUnderChildren ? 0 : WS_CLIPCHILDREN;
  return CreateChild(exStyle, kPanelClass, "", style, args.Place, const_cast<PanelLook*>(args.Look));
}

HWND CreateGroupBox(const GroupBoxArgs& args) {
  return CreateChild(0, L"BUTTON", args.Text, BS_GROUPBOX, args.Place);
}

HWND CreateProgressBar(const ProgressBarArgs& args) {
  HWND bar = CreateChild(0, PROGRESS_CLASSW, "", 0, args.Place);
  SetProgress(bar, args.Min, args.Max, args.Value);
  return bar;
}

HWND CreateListBox(const ListBoxArgs& args) {
  DWORD style = WS_VSCROLL | WS_TABSTOP | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT;
  return CreateChild(args.Border ? WS_EX_CLIENTEDGE : 0, L"LISTBOX", "", style, args.Place);
}

std::string GetText(HWND window) {
  int length = GetWindowTextLengthW(window);
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  int copied = GetWindowTextW(window, text.data(), length + 1);
  text.resize(static_cast<size_t>(copied > 0 ? copied : 0));
  return Narrow(text);
}

void SetText(HWND window, std::string_view text) {
  if (GetText(window) == text) return;
  SetWindowTextW(window, Widen(text).c_str());
}

// The system's path ellipsis keeps only what follows the last backslash,
// nothing for a folder that ends in one: the folder is shortened without
// its separator, in the room left beside it, and the separator put back.
void ShortenPath(HWND label) {
  wchar_t text[1024];  // and room for the ellipsis DT_MODIFYSTRING writes
  int length = GetWindowTextW(label, text, 1020);
  bool separator = length > 0 && text[length - 1] == L'\\';
  text[length - (separator ? 1 : 0)] = L'\0';
  HDC dc = GetDC(label);
  HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(label, WM_GETFONT, 0, 0)));
  RECT room;
  GetClientRect(label, &room);
  SIZE size{};
  if (separator) GetTextExtentPoint32W(dc, L"\\", 1, &size);
  room.right -= size.cx;
  DrawTextW(dc, text, -1, &room,
            DT_CALCRECT | DT_PATH_ELLIPSIS | DT_MODIFYSTRING | DT_SINGLELINE | DT_NOPREFIX);
  SelectObject(dc, old);
  ReleaseDC(label, dc);
  if (separator) {
    length = static_cast<int>(wcslen(text));
    text[length] = L'\\';
    text[length + 1] = L'\0';
  }
  SetWindowTextW(label, text);
}

void SetBounds(HWND window, const PixelRect& bounds) {
  SetWindowPos(window, nullptr, bounds.Left, bounds.Top, bounds.Width, bounds.Height,
               SWP_NOZORDER | SWP_NOACTIVATE);
}

void SetShown(HWND window, bool shown) {
  bool visible = (GetWindowLongPtrW(window, GWL_STYLE) & WS_VISIBLE) != 0;
  if (visible != shown) ShowWindow(window, shown ? SW_SHOWNA : SW_HIDE);
}

void SetEnabled(HWND window, bool enabled) {
  if ((IsWindowEnabled(window) != FALSE) != enabled) EnableWindow(window, enabled ? TRUE : FALSE);
}

void SetFont(HWND window, HFONT font) {
  if (reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0)) == font) return;
  SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

void SetDefaultStyle(HWND button, bool isDefault) {
  DWORD style = isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
  if ((static_cast<DWORD>(GetWindowLongPtrW(button, GWL_STYLE)) & BS_TYPEMASK) == style) return;
  SendMessageW(button, BM_SETSTYLE, style, TRUE);
}

void SetProgress(HWND bar, int min, int max, int value) {
  PBRANGE range{};
  SendMessageW(bar, PBM_GETRANGE, FALSE, reinterpret_cast<LPARAM>(&range));
  if (range.iLow != min || range.iHigh != max) SendMessageW(bar, PBM_SETRANGE32, min, max);
  if (static_cast<int>(SendMessageW(bar, PBM_GETPOS, 0, 0)) != value) SendMessageW(bar, PBM_SETPOS, value, 0);
}

void SetListItems(HWND list, const std::vector<std::string>& items, int selected) {
  // Refilled whole: the model hands over the list only when it changed.
  SendMessageW(list, WM_SETREDRAW, FALSE, 0);
  SendMessageW(list, LB_RESETCONTENT, 0, 0);
  for (const std::string& item : items) {
    SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(item).c_str()));
  }
  SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(selected), 0);
  SendMessageW(list, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(list, nullptr, TRUE);
}

int SelectedListItem(HWND list) { return static_cast<int>(SendMessageW(list, LB_GETCURSEL, 0, 0)); }

void StackFrontToBack(const std::vector<HWND>& siblings) {
  HWND above = HWND_TOP;
  for (HWND window : siblings) {
    SetWindowPos(window, above, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    above = window;
  }
}

void PaintPanel(HDC dc, const RECT& client, const PanelLook& look) {
  HBRUSH back = CreateSolidBrush(look.Back);
  FillRect(dc, &client, back);
  DeleteObject(back);
  if (look.Picture != nullptr) PaintPicture(dc, client, look.Picture);
  for (const auto& [stroke, color] : look.Strokes) {
    RECT rect{stroke.Left, stroke.Top, stroke.Right(), stroke.Bottom()};
    HBRUSH brush = CreateSolidBrush(color);
    FillRect(dc, &rect, brush);
    DeleteObject(brush);
  }
  if (look.Border) FrameRect(dc, &client, GetSysColorBrush(COLOR_BTNSHADOW));
}

}  // namespace win32_frontend
