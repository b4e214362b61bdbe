#include "main_window.h"

#include "dll_search.h"
#include "events.h"
#include "resource_ids.h"
#include "system_api.h"
#include "wizard/pixel_layout.h"

namespace win32_frontend {
namespace {

using wizard::Control;
using wizard::ControlKind;

constexpr const wchar_t* kWindowClass = L"RigboxExtractWizard";
// A fixed dialog frame: caption and system menu, no resizing, no minimise
// or maximise box.
constexpr DWORD kWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kWindowExStyle = WS_EX_CONTROLPARENT;
// Bounds for the message draining during the run; a paint that never
// validates must not hang the run.
constexpr int kMaxDrained = 256;

constexpr const char* kLogoPicture = "logo";

bool HasGroupBox(const Control& control) {
  return control.Kind == ControlKind::Frame && control.Border == wizard::BorderStyle::FixedSingle;
}

}  // namespace

MainWindow::MainWindow(HINSTANCE instance) : instance_(instance), fonts_(std::make_unique<FontCache>()) {}

MainWindow::~MainWindow() {
  if (window_ != nullptr) DestroyWindow(window_);
  if (logo_ != nullptr) DeleteObject(logo_);
  if (bigIcon_ != nullptr) DestroyIcon(bigIcon_);
  if (smallIcon_ != nullptr) DestroyIcon(smallIcon_);
}

bool MainWindow::Create(wizard::frmMain& form) {
  form_ = &form;
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  if (!GetClassInfoExW(instance_, kWindowClass, &windowClass)) {
    windowClass.lpfnWndProc = Procedure;
    windowClass.hInstance = instance_;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hIcon = static_cast<HICON>(
        LoadImageW(instance_, MAKEINTRESOURCEW(IDI_RIGBOX), IMAGE_ICON, 0, 0, LR_DEFAULTSIZE | LR_SHARED));
    windowClass.lpszClassName = kWindowClass;
    if (RegisterClassExW(&windowClass) == 0) return false;
  }
  if (!RegisterPanelClass(instance_)) return false;
  StartCommonControls();

  // Hidden and empty at first: the size depends on the DPI of the screen
  // the window lands on, known only once it exists.
  window_ = CreateWindowExW(kWindowExStyle, kWindowClass, L"", kWindowStyle, 0, 0, 0, 0, nullptr, nullptr,
                            instance_, this);
  if (window_ == nullptr) return false;
  dpi_ = WindowDpi(window_);
  // A device bitmap: the logo is stored RLE-compressed, which DIB sections
  // do not take.
  logo_ = static_cast<HBITMAP>(LoadImageW(instance_, MAKEINTRESOURCEW(IDB_LOGO), IMAGE_BITMAP, 0, 0, 0));

  size_t count = Model().Controls.size();
  children_.assign(count, nullptr);
  groupBoxes_.assign(count, nullptr);
  looks_.resize(count);
  CreateChildren(wizard::kContainerForm, window_);
  ApplyLayout();
  Apply(Model().Form);
  for (const Control& control : Model().Controls) Apply(control);
  return true;
}

void MainWindow::CreateChildren(int container, HWND parent) {
  std::vector<HWND> stacked;
  for (int position : wizard::TabOrder(Model(), container)) {
    HWND child = CreateChild(position, parent);
    if (child == nullptr) continue;
    children_[static_cast<size_t>(position)] = child;
    stacked.push_back(child);
    CreateChildren(position, child);
  }
  // A frame's border and title lie under the controls it holds.
  if (container != wizard::kContainerForm && groupBoxes_[static_cast<size_t>(container)] != nullptr) {
    stacked.push_back(groupBoxes_[static_cast<size_t>(container)]);
  }
  StackFrontToBack(stacked);
}

HWND MainWindow::CreateChild(int position, HWND parent) {
  const Control& control = Model().Controls[static_cast<size_t>(position)];
  Placement place{parent, ControlId(position), wizard::ControlBounds(Model(), position, dpi_),
                  control.Visible, control.Enabled};
  switch (control.Kind) {
    case ControlKind::Label:
      return CreateLabel(LabelArgs{place, control.Caption, control.PathEllipsis});
    case ControlKind::CommandButton:
      return CreateButton(ButtonArgs{place, control.Caption});
    case ControlKind::ProgressBar:
      return CreateProgressBar(ProgressBarArgs{place, control.Min, control.Max, control.Value});
    case ControlKind::ListBox:
      return CreateListBox(ListBoxArgs{place, control.Border == wizard::BorderStyle::FixedSingle});
    case ControlKind::PictureBox:
    case ControlKind::Frame:
    case ControlKind::Image: {
      auto& look = looks_[static_cast<size_t>(position)];
      look = std::make_unique<PanelLook>();
      HWND panel =
          CreatePanel(PanelArgs{place, look.get(), control.Kind != ControlKind::Image, HasGroupBox(control)});
      if (panel != nullptr && HasGroupBox(control)) {
        Placement inside{panel, ControlId(position),
                         PixelRect{0, 0, place.Bounds.Width, place.Bounds.Height}};
        HWND box = CreateGroupBox(GroupBoxArgs{inside, control.Caption});
        groupBoxes_[static_cast<size_t>(position)] = box;
      }
      return panel;
    }
    default:
      // Lines are painted by their container; the common dialog is never
      // opened here and has nothing to show.
      return nullptr;
  }
}

HWND MainWindow::Child(int position) const {
  if (position < 0 || static_cast<size_t>(position) >= children_.size()) return nullptr;
  return children_[static_cast<size_t>(position)];
}

HWND MainWindow::GroupBox(int position) const {
  if (position < 0 || static_cast<size_t>(position) >= groupBoxes_.size()) return nullptr;
  return groupBoxes_[static_cast<size_t>(position)];
}

void MainWindow::ApplyLayout() {
  // The new fonts are in place before the old ones are deleted.
  auto fonts = std::make_unique<FontCache>();
  for (size_t i = 0; i < children_.size(); ++i) {
    if (children_[i] == nullptr) continue;
    PixelRect bounds = wizard::ControlBounds(Model(), static_cast<int>(i), dpi_);
    SetBounds(children_[i], bounds);
    HFONT font = FontFor(static_cast<int>(i), *fonts);
    SetFont(children_[i], font);
    if (groupBoxes_[i] != nullptr) {
      SetBounds(groupBoxes_[i], PixelRect{0, 0, bounds.Width, bounds.Height});
      SetFont(groupBoxes_[i], font);
    }
  }
  fonts_ = std::move(fonts);
  RefreshLooks();
  ResizeClientArea(wizard::ClientArea(Model(), dpi_));
  LoadIcons();
  // A path is shortened anew for its new width and font.
  for (const Control& control : Model().Controls) {
    if (control.PathEllipsis) Apply(control);
  }
}

// The designed font. Where the system put another face in its place (a
// plain Wine has no MS Sans Serif), a caption gets the largest size at
// which it fits its control (wizard::SmallestCaptionHeight is the floor).
HFONT MainWindow::FontFor(int position, FontCache& fonts) {
  const Control& control = Model().Controls[static_cast<size_t>(position)];
  FontRequest request = RequestFor(control.Font, dpi_, TextCharset(wizard::CurrentLanguage()));
  HFONT font = fonts.Get(request);
  bool button = control.Kind == ControlKind::CommandButton;
  if (!button && control.Kind != ControlKind::Label) return font;
  // A plain loop rather than wizard::CaptionHeight keeps the stub small.
  // The request's height is negative: a character height, not a cell's.
  for (int floor = -wizard::SmallestCaptionHeight(-request.Height);
       request.Height < floor && !CaptionFits(Child(position), font, request.Face, button);) {
    ++request.Height;  // a pixel smaller
    font = fonts.Get(request);
  }
  return font;
}

void MainWindow::ResizeClientArea(const PixelRect& client) {
  RECT frame = WindowRectForClient(client.Width, client.Height, kWindowStyle, kWindowExStyle, dpi_);
  int width = frame.right - frame.left;
  int height = frame.bottom - frame.top;
  SetWindowPos(window_, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  // The frame the system really drew can differ from the computed one (a
  // caption not yet scaled to the new DPI): correct by what is missing.
  RECT actual;
  GetClientRect(window_, &actual);
  if (actual.right == client.Width && actual.bottom == client.Height) return;
  SetWindowPos(window_, nullptr, 0, 0, width + client.Width - actual.right,
               height + client.Height - actual.bottom, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void MainWindow::RefreshLooks() {
  for (size_t i = 0; i < looks_.size(); ++i) {
    if (!looks_[i]) continue;
    const Control& control = Model().Controls[i];
    PanelLook& look = *looks_[i];
    look.Back = ToColorRef(control.BackColor);
    look.Border =
        control.Kind == ControlKind::PictureBox && control.Border == wizard::BorderStyle::FixedSingle;
    look.Picture = control.Kind == ControlKind::Image && control.Picture == kLogoPicture ? logo_ : nullptr;
    look.Strokes.clear();
    for (int child : Model().Children(static_cast<int>(i))) {
      const Control& line = Model().Controls[static_cast<size_t>(child)];
      if (line.Kind != ControlKind::Line || !line.Visible) continue;
      look.Strokes.emplace_back(wizard::ControlBounds(Model(), child, dpi_), ToColorRef(line.ForeColor));
    }
    if (children_[i] != nullptr) InvalidateRect(children_[i], nullptr, TRUE);
  }
}

void MainWindow::LoadIcons() {
  auto load = [this](int metric) {
    int size = SystemMetricForDpi(metric, dpi_);
    return static_cast<HICON>(
        LoadImageW(instance_, MAKEINTRESOURCEW(IDI_RIGBOX), IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
  };
  HICON big = load(SM_CXICON);
  HICON small = load(SM_CXSMICON);
  SendMessageW(window_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big));
  SendMessageW(window_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
  if (bigIcon_ != nullptr) DestroyIcon(bigIcon_);
  if (smallIcon_ != nullptr) DestroyIcon(smallIcon_);
  bigIcon_ = big;
  smallIcon_ = small;
}

void MainWindow::Show(int showCommand) {
  RECT frame;
  GetWindowRect(window_, &frame);
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  GetMonitorInfoW(MonitorFromWindow(window_, MONITOR_DEFAULTTOPRIMARY), &monitor);
  const RECT& work = monitor.rcWork;
  int width = frame.right - frame.left;
  int height = frame.bottom - frame.top;
  int left = work.left + (work.right - work.left - width) / 2;
  int top = work.top + (work.bottom - work.top - height) / 2;
  SetWindowPos(window_, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  ShowWindow(window_, showCommand);
  UpdateWindow(window_);
  KeepFocusUsable();
}

void MainWindow::Apply(const Control& control) {
  if (form_ == nullptr || window_ == nullptr) return;
  if (&control == &Model().Form) {
    SetText(window_, control.Caption);
    return;
  }
  int position = wizard::PositionOf(Model(), control);
  HWND child = Child(position);
  if (child == nullptr) {
    if (control.Kind == ControlKind::Line) {
      RefreshLooks();
    }
    return;
  }
  switch (control.Kind) {
    case ControlKind::Label:
    case ControlKind::CommandButton:
      SetText(child, control.Caption);
      // The font is chosen by the whole text, as the Linux window does.
      SetFont(child, FontFor(position, *fonts_));
      if (control.PathEllipsis) ShortenPath(child);
      break;
    case ControlKind::Frame:
      if (HWND box = GroupBox(position)) SetText(box, control.Caption);
      break;
    case ControlKind::ProgressBar:
      SetProgress(child, control.Min, control.Max, control.Value);
      break;
    case ControlKind::ListBox:
      SetListItems(child, control.ListItems, control.ListIndex);
      break;
    default:
      break;
  }
  SetEnabled(child, control.Enabled);
  SetShown(child, control.Visible);
  KeepFocusUsable();
}

void MainWindow::ShowChange(const Control& control) {
  Apply(control);
  if (window_ == nullptr || !IsWindowVisible(window_)) return;
  RedrawWindow(window_, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  if (form_->Running()) DrainWhileRunning();
}

void MainWindow::DrainWhileRunning() {
  MSG message;
  for (int i = 0; i < kMaxDrained && PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE | PM_QS_INPUT); ++i) {
  }
  for (int i = 0; i < kMaxDrained && PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE | PM_QS_PAINT); ++i) {
    DispatchMessageW(&message);
  }
  for (int i = 0; i < kMaxDrained && PeekMessageW(&message, nullptr, WM_TIMER, WM_TIMER, PM_REMOVE); ++i) {
    DispatchMessageW(&message);
  }
}

int MainWindow::RunMessageLoop() {
  MSG message{};
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (window_ != nullptr && IsDialogMessageW(window_, &message)) {
      KeepDefaultButton();
      continue;
    }
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return static_cast<int>(message.wParam);
}

void MainWindow::Close() {
  if (window_ != nullptr) DestroyWindow(window_);
}

void MainWindow::KeepFocusUsable() {
  if (window_ == nullptr || GetActiveWindow() != window_) return;
  HWND focus = GetFocus();
  bool usable = focus != nullptr && focus != window_ && IsWindowEnabled(focus) && IsWindowVisible(focus);
  if (usable) return;
  HWND next = GetNextDlgTabItem(window_, nullptr, FALSE);
  if (next != nullptr) SetFocus(next);
}

// The dialog manager's Enter presses the focused button only when it has
// the default style, and otherwise the one DM_GETDEFID names; the style
// follows the focus among the buttons, as in a dialog box, and shows the
// player which one that is.
void MainWindow::KeepDefaultButton() {
  const std::vector<Control>& controls = Model().Controls;
  auto isButton = [&controls](int position) {
    return position >= 0 && controls[static_cast<size_t>(position)].Kind == ControlKind::CommandButton;
  };
  int chosen = PositionOfWindow(GetFocus());
  if (!isButton(chosen)) chosen = DefaultButton(Model());
  if (!IsWindowEnabled(Child(chosen))) chosen = -1;
  for (int i = 0; i < static_cast<int>(children_.size()); ++i) {
    if (children_[static_cast<size_t>(i)] != nullptr && isButton(i)) SetDefaultStyle(Child(i), i == chosen);
  }
}

void MainWindow::OnActivate(bool active) {
  if (!active) {
    HWND focus = GetFocus();
    if (focus != nullptr && IsChild(window_, focus)) lastFocus_ = focus;
    return;
  }
  if (lastFocus_ != nullptr && IsWindow(lastFocus_) && IsWindowEnabled(lastFocus_) &&
      IsWindowVisible(lastFocus_)) {
    SetFocus(lastFocus_);
  } else {
    KeepFocusUsable();
  }
}

void MainWindow::OnCommand(int id, unsigned notification, HWND child) {
  // Escape, from the dialog manager: the close box's way, as in the Linux
  // window.
  if (id == IDCANCEL && child == nullptr) {
    form_->RequestClose(kUnloadFromControlMenu);
    return;
  }
  int position = PositionOfId(Model(), id);
  // Enter's default button may come by its ID alone, from a dialog manager
  // that looks for its window one level down only.
  if (position < 0 || (child != nullptr && Child(position) != child)) return;
  ControlKind kind = Model().Controls[static_cast<size_t>(position)].Kind;
  if (!IsClick(kind, notification)) return;
  form_->Click(position, kind == ControlKind::ListBox ? SelectedListItem(child) : -1);
}

int MainWindow::PositionOfWindow(HWND child) const {
  for (size_t i = 0; child != nullptr && i < children_.size(); ++i) {
    if (children_[i] == child || groupBoxes_[i] == child) return static_cast<int>(i);
  }
  return -1;
}

HBRUSH MainWindow::OnControlColor(HDC dc, HWND child) {
  int position = PositionOfWindow(child);
  if (position < 0) return nullptr;
  const Control& control = Model().Controls[static_cast<size_t>(position)];
  SetTextColor(dc, ToColorRef(control.ForeColor));
  SetBkColor(dc, ToColorRef(control.BackColor));
  return brushes_.Get(control.BackColor);
}

void MainWindow::OnEraseBackground(HDC dc) {
  RECT client;
  GetClientRect(window_, &client);
  FillRect(dc, &client, brushes_.Get(Model().Form.BackColor));
}

void MainWindow::OnDpiChanged(int dpi, const RECT& suggested) {
  dpi_ = dpi;
  ApplyLayout();
  SetWindowPos(window_, nullptr, suggested.left, suggested.top, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT CALLBACK MainWindow::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    static_cast<MainWindow*>(create->lpCreateParams)->window_ = window;
  }
  auto* self = reinterpret_cast<MainWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (self == nullptr || self->form_ == nullptr) return DefWindowProcW(window, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    self->window_ = nullptr;
    self->children_.assign(self->children_.size(), nullptr);
    self->groupBoxes_.assign(self->groupBoxes_.size(), nullptr);
    return DefWindowProcW(window, message, wParam, lParam);
  }
  return self->OnMessage(window, message, wParam, lParam);
}

LRESULT MainWindow::OnMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
      return 0;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORLISTBOX:
      if (HBRUSH brush = OnControlColor(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam))) {
        return reinterpret_cast<LRESULT>(brush);
      }
      break;
    case DM_GETDEFID:
      return MAKELRESULT(ControlId(DefaultButton(Model())), DC_HASDEFID);
    case WM_ERASEBKGND:
      OnEraseBackground(reinterpret_cast<HDC>(wParam));
      return 1;
    case WM_ACTIVATE:
      OnActivate(LOWORD(wParam) != WA_INACTIVE);
      return 0;
    case WM_CLOSE:
      form_->RequestClose(kUnloadFromControlMenu);
      return 0;
    case WM_QUERYENDSESSION:
      return form_->RequestClose(kUnloadFromWindows) ? TRUE : FALSE;
    case WM_DPICHANGED:
      OnDpiChanged(LOWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
      return 0;
    case WM_SYSCOLORCHANGE:
      RefreshLooks();
      break;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      break;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace win32_frontend
