// The wizard window as Windows sees it: real child windows, fonts and
// messages, driven through the same notifications a player's clicks send.
// The shell answers from a script, so no dialog stops the test.
#include <gtest/gtest.h>

#include "windows_api.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "common/temp_dir.h"
#include "controls.h"
#include "main_window.h"
#include "wide_text.h"
#include "wizard/pixel_layout.h"
#include "wizard/string_table.h"
#include "wizard/wizard_fixture.h"

namespace {

using win32_frontend::GetText, win32_frontend::MainWindow;
using wizard::PixelRect;

// The scripted shell, showing every change in the window as the real one does.
class WindowShell : public wizard_testing::ScriptedShell {
 public:
  MainWindow* Window = nullptr;
  void ControlChanged(const wizard::Control& control) override {
    ScriptedShell::ControlChanged(control);
    Window->ShowChange(control);
  }
  void EndProgram() override {
    ScriptedShell::EndProgram();
    Window->Close();
  }
};

class Win32Window : public testing::Test {
 protected:
  void SetUp() override {
    wizard::SetLanguageForTesting(wizard::Language::English);
    shell_.Window = &window_;
  }
  void TearDown() override { wizard::SetLanguageForTesting(std::nullopt); }

  // Builds the window and runs the start-up, as the program does.
  void Start() {
    ASSERT_TRUE(window_.Create(form_));
    form_.Form_Load();
  }
  int Position(const char* name, std::optional<int16_t> index = std::nullopt) {
    return form_.Model().IndexOf(name, index);
  }
  HWND Child(const char* name, std::optional<int16_t> index = std::nullopt) {
    return window_.Child(Position(name, index));
  }
  void Click(const char* name, std::optional<int16_t> index = std::nullopt) {
    SendMessageW(Child(name, index), BM_CLICK, 0, 0);
  }

  testing_support::TempDir dir_;
  WindowShell shell_;
  testing_support::MapRegistry registry_;
  wizard::frmMain form_{shell_, registry_};
  MainWindow window_{GetModuleHandleW(nullptr)};
};

TEST_F(Win32Window, KeyboardOrder) {
  Start();
  // Finish is disabled and Help hidden: Next, Cancel (Back is disabled),
  // then Change in the step frame, and round again.
  HWND main = window_.Handle();
  std::vector<HWND> expected = {Child("cmdNav", 3), Child("cmdNav", 1), Child("btnBrowse", 0),
                                Child("cmdNav", 3)};
  HWND at = nullptr;
  for (HWND next : expected) EXPECT_EQ(at = GetNextDlgTabItem(main, at, FALSE), next);
}

TEST_F(Win32Window, CloseBoxAndSessionEndReachTheWizard) {
  Start();
  shell_.Answers = {wizard::MsgResult::No, wizard::MsgResult::No, wizard::MsgResult::Yes};
  SendMessageW(window_.Handle(), WM_CLOSE, 0, 0);
  EXPECT_EQ(SendMessageW(window_.Handle(), WM_QUERYENDSESSION, 0, 0), FALSE);
  EXPECT_EQ(shell_.Messages.size(), 2u);
  EXPECT_NE(window_.Handle(), nullptr);
  SendMessageW(window_.Handle(), WM_CLOSE, 0, 0);
  EXPECT_EQ(shell_.EndCount, 1);
  EXPECT_EQ(window_.Handle(), nullptr);
  MSG message;
  ASSERT_TRUE(PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(message.wParam, 0u);
}

TEST_F(Win32Window, ListSelectionReachesTheModel) {
  Start();
  wizard::Control& list = form_.Model().Controls[static_cast<size_t>(Position("lstCarList"))];
  list.ListItems = {"AAA", "BBB"};
  window_.Apply(list);
  HWND listBox = Child("lstCarList");
  EXPECT_NE(GetWindowLongPtrW(listBox, GWL_STYLE) & LBS_NOTIFY, 0);
  SendMessageW(listBox, LB_SETCURSEL, 1, 0);
  // What the list box sends its parent when the player picks a row.
  SendMessageW(GetParent(listBox), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(listBox), LBN_SELCHANGE),
               reinterpret_cast<LPARAM>(listBox));
  EXPECT_EQ(list.ListIndex, 1);
}

// The face the window is designed with.
constexpr const wchar_t* kDesignFace = L"MS Sans Serif";
constexpr UINT kCentralEuropeanCodePage = 1250;

int CALLBACK NoteFound(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
  *reinterpret_cast<bool*>(found) = true;
  return 0;
}

// Whether the system has face in charset (in any set for DEFAULT_CHARSET).
bool SystemHasFace(const wchar_t* face, BYTE charset) {
  LOGFONTW wanted{};
  wanted.lfCharSet = charset;
  wcsncpy(wanted.lfFaceName, face, LF_FACESIZE - 1);
  bool found = false;
  HDC screen = GetDC(nullptr);
  EnumFontFamiliesExW(screen, &wanted, NoteFound, reinterpret_cast<LPARAM>(&found), 0);
  ReleaseDC(nullptr, screen);
  return found;
}

// What keeps a control's caption from being read whole, in the font the
// control really draws with; empty when nothing does. A label wraps its
// words when it has room for two lines or more.
std::string Unreadable(HWND control) {
  std::string caption = GetText(control);
  std::wstring text = win32_frontend::Widen(caption);
  int length = static_cast<int>(text.size());
  auto font = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
  LOGFONTW asked{};
  GetObjectW(font, sizeof asked, &asked);
  HDC dc = GetDC(control);
  HGDIOBJ old = SelectObject(dc, font);
  wchar_t face[LF_FACESIZE] = {};
  GetTextFaceW(dc, LF_FACESIZE, face);
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc, &metrics);
  std::vector<WORD> glyphs(text.size());
  GetGlyphIndicesW(dc, text.c_str(), length, glyphs.data(), GGI_MARK_NONEXISTING_GLYPHS);
  RECT room;
  GetClientRect(control, &room);
  wchar_t kind[16] = {};
  GetClassNameW(control, kind, 16);
  bool button = lstrcmpiW(kind, L"Button") == 0;
  // A button's text lies inside the 3-D border and the focus rectangle.
  if (button) InflateRect(&room, -GetSystemMetrics(SM_CXEDGE) - 1, -GetSystemMetrics(SM_CYEDGE) - 1);
  bool wraps = !button && room.bottom >= 2 * metrics.tmHeight;
  RECT needed{0, 0, wraps ? room.right : 0, 0};
  DrawTextW(dc, text.c_str(), length, &needed,
            DT_CALCRECT | DT_NOPREFIX | DT_EXPANDTABS | (wraps ? DT_WORDBREAK : DT_SINGLELINE));
  SelectObject(dc, old);
  ReleaseDC(control, dc);

  std::string problems;
  if (SystemHasFace(asked.lfFaceName, asked.lfCharSet) && lstrcmpW(face, asked.lfFaceName) != 0)
    problems += " another face although the system has this one;";
  if (asked.lfCharSet != DEFAULT_CHARSET && metrics.tmCharSet != asked.lfCharSet)
    problems += " character set " + std::to_string(metrics.tmCharSet) + ";";
  if (std::count(glyphs.begin(), glyphs.end(), 0xFFFF) > 0) problems += " letters without glyphs;";
  if (needed.right > room.right - room.left || needed.bottom > room.bottom - room.top) {
    problems += " cut, needs " + std::to_string(needed.right) + "x" + std::to_string(needed.bottom) + " in " +
                std::to_string(room.right - room.left) + "x" + std::to_string(room.bottom - room.top) + ";";
  }
  if (problems.empty()) return problems;
  return "\"" + caption + "\" in " + win32_frontend::Narrow(face) + " " + std::to_string(metrics.tmHeight) +
         " px:" + problems;
}

struct StepsCase {
  wizard::Language Language;
  int Dpi;
};

// The wizard's whole path in the window, in each language at two DPIs.
class Win32WindowSteps : public Win32Window, public testing::WithParamInterface<StepsCase> {
 protected:
  void SetUp() override {
    Win32Window::SetUp();
    wizard::SetLanguageForTesting(GetParam().Language);
  }
  const bool plain_ = std::getenv("RIGBOX_PLAIN_PREFIX") != nullptr;
  void ExpectReadable(const wizard::Control& control) {
    if (control.Kind != wizard::ControlKind::Label && control.Kind != wizard::ControlKind::CommandButton)
      return;
    EXPECT_EQ(Unreadable(Child(control.Name.c_str(), control.Index)), "") << control.Name;
  }
  // Where a child window lies in the window's client area.
  PixelRect InClient(HWND child) {
    RECT rect;
    GetWindowRect(child, &rect);
    MapWindowPoints(HWND_DESKTOP, window_.Handle(), reinterpret_cast<POINT*>(&rect), 2);
    return PixelRect{rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
  }
  // The window shows the model as it stands, at the window's DPI: the
  // client area, and each child window's place, state, text and font,
  // every caption readable whole.
  void ExpectShowsModel(const char* when) {
    SCOPED_TRACE(when);
    const wizard::FormModel& model = form_.Model();
    int dpi = window_.Dpi();
    RECT client;
    GetClientRect(window_.Handle(), &client);
    EXPECT_EQ((PixelRect{0, 0, client.right, client.bottom}), wizard::ClientArea(model, dpi));
    EXPECT_EQ(GetText(window_.Handle()), model.Form.Caption);
    for (int position = 0; position < static_cast<int>(model.Controls.size()); ++position) {
      const wizard::Control& control = model.Controls[static_cast<size_t>(position)];
      HWND child = window_.Child(position), box = window_.GroupBox(position);
      if (child == nullptr) continue;
      for (HWND shown : {child, box}) {
        if (shown == nullptr) continue;
        EXPECT_EQ(InClient(shown), wizard::WindowBounds(model, position, dpi)) << control.Name;
      }
      EXPECT_EQ((GetWindowLongPtrW(child, GWL_STYLE) & WS_VISIBLE) != 0, control.Visible) << control.Name;
      EXPECT_EQ(IsWindowEnabled(child) != FALSE, control.Enabled) << control.Name;
      if (control.Kind == wizard::ControlKind::Label) {
        bool oneLine = (GetWindowLongPtrW(child, GWL_STYLE) & SS_TYPEMASK) == SS_LEFTNOWORDWRAP;
        EXPECT_EQ(oneLine, control.PathEllipsis) << control.Name;
      }
      if (control.Kind == wizard::ControlKind::ProgressBar) {
        EXPECT_EQ(SendMessageW(child, PBM_GETPOS, 0, 0), control.Value);
      }
      ExpectReadable(control);
      // Labels, buttons and a frame's border show text.
      bool showsText =
          control.Kind == wizard::ControlKind::Label || control.Kind == wizard::ControlKind::CommandButton;
      HWND text = box != nullptr ? box : (showsText ? child : nullptr);
      if (text == nullptr) continue;
      // The long game folder, shortened to fit, keeps the game's own name.
      if (control.PathEllipsis && !form_.GameFolder.empty() && control.Caption == form_.GameFolder) {
        EXPECT_LT(GetText(text).size(), control.Caption.size());
        EXPECT_TRUE(GetText(text).ends_with("\\Gravelon\\")) << GetText(text);
      } else {
        EXPECT_EQ(GetText(text), control.Caption) << control.Name;
      }
      LOGFONTW font{};
      GetObjectW(reinterpret_cast<HFONT>(SendMessageW(text, WM_GETFONT, 0, 0)), sizeof font, &font);
      // Another face may take a smaller size to fit.
      int designed = wizard::PointsToPixels(control.Font.Size, dpi);
      EXPECT_TRUE(plain_ ? -font.lfHeight <= designed : -font.lfHeight == designed) << control.Name;
    }
  }
};

// Run once more in a prefix without the window's face (RIGBOX_PLAIN_PREFIX
// set), as a plain Wine is: the face put in its place must show every
// caption whole too.
TEST_P(Win32WindowSteps, EachStepShowsTheModelWithEveryCaptionReadable) {
  ASSERT_EQ(SystemHasFace(kDesignFace, DEFAULT_CHARSET), !plain_) << "the window's face, in a plain prefix";
  bool centralEuropean = GetACP() == kCentralEuropeanCodePage;
  // There the face comes in the Central European set: the bold texts and
  // the Polish ones use it too.
  if (centralEuropean && !plain_) {
    ASSERT_TRUE(SystemHasFace(kDesignFace, EASTEUROPE_CHARSET));
  }
  // Polish texts come with a Central European system; elsewhere they fall
  // back to whatever face has their letters. CTest runs these cases under
  // a Central European locale too.
  if (GetParam().Language == wizard::Language::Polish && !centralEuropean && !plain_)
    GTEST_SKIP() << "Polish texts on a system of another code page";
  std::filesystem::path game = dir_ / "Gravelon Racing Club Season Two Complete Edition" / "Gravelon";
  wizard_testing::MakeGameFolder(game);
  form_.ProgramPath = (dir_ / "install.exe").string();
  wizard_testing::MakeInstaller(form_.ProgramPath, "ABC", wizard_testing::SampleCar("ABC"));
  shell_.PickedFolders.push_back(game.string() + "\\");
  // Each caption as the window takes it, the run's status texts too.
  shell_.OnChange = [this](const wizard::Control& control) {
    window_.Apply(control);
    SCOPED_TRACE("when changed");
    ExpectReadable(control);
  };
  Start();
  LONG_PTR style = GetWindowLongPtrW(window_.Handle(), GWL_STYLE);
  EXPECT_EQ(style & (WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX),
            WS_CAPTION | WS_SYSMENU);
  RECT suggested{100, 100, 900, 700};
  SendMessageW(window_.Handle(), WM_DPICHANGED, MAKEWPARAM(GetParam().Dpi, GetParam().Dpi),
               reinterpret_cast<LPARAM>(&suggested));
  ASSERT_EQ(window_.Dpi(), GetParam().Dpi);
  RECT frame;
  GetWindowRect(window_.Handle(), &frame);
  EXPECT_EQ(frame.left, 100);
  ExpectShowsModel("at the start");
  Click("btnBrowse", 0);
  Click("cmdNav", 3);
  ExpectShowsModel("when ready");
  Click("cmdNav", 3);
  ExpectShowsModel("after the run");
  ASSERT_EQ(form_.LastOutcome, wizard::Outcome::RunSucceeded);
  // Finish ends at once, without a question.
  Click("cmdNav", 4);
  EXPECT_TRUE(shell_.Messages.empty());
  EXPECT_EQ(window_.Handle(), nullptr);
}

INSTANTIATE_TEST_SUITE_P(Win32Window, Win32WindowSteps,
                         testing::Values(StepsCase{wizard::Language::English, 96},
                                         StepsCase{wizard::Language::English, 144},
                                         StepsCase{wizard::Language::Polish, 96},
                                         StepsCase{wizard::Language::Polish, 144}),
                         [](const testing::TestParamInfo<StepsCase>& testCase) {
                           bool polish = testCase.param.Language == wizard::Language::Polish;
                           return (polish ? "Polish" : "English") + std::to_string(testCase.param.Dpi);
                         });

}  // namespace
