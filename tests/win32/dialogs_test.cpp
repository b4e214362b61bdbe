#include <gtest/gtest.h>

#include "dialogs.h"
#include "win32_shell.h"

namespace {

using win32_frontend::AnswerFromResult, win32_frontend::MessageBoxStyle;
using wizard::MsgButtons, wizard::MsgIcon, wizard::MsgResult;

TEST(Win32Dialogs, StylesForWhatTheWizardAsksAndItsAnswers) {
  // The error box, the replace question, the close confirmation and a warning.
  EXPECT_EQ(MessageBoxStyle(MsgButtons::OK, MsgIcon::Critical), static_cast<UINT>(MB_OK | MB_ICONSTOP));
  EXPECT_EQ(MessageBoxStyle(MsgButtons::OKCancel, MsgIcon::Question),
            static_cast<UINT>(MB_OKCANCEL | MB_ICONQUESTION));
  EXPECT_EQ(MessageBoxStyle(MsgButtons::YesNo, MsgIcon::Question),
            static_cast<UINT>(MB_YESNO | MB_ICONQUESTION));
  EXPECT_EQ(MessageBoxStyle(MsgButtons::OK, MsgIcon::Exclamation),
            static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION));
  const struct {
    int Result;
    MsgButtons Buttons;
    MsgResult Expected;
  } answers[] = {{IDOK, MsgButtons::OK, MsgResult::OK},
                 {IDCANCEL, MsgButtons::OKCancel, MsgResult::Cancel},
                 {IDYES, MsgButtons::YesNo, MsgResult::Yes},
                 {IDNO, MsgButtons::YesNo, MsgResult::No},
                 // A box that could not be shown changes nothing.
                 {0, MsgButtons::OKCancel, MsgResult::Cancel},
                 {0, MsgButtons::YesNo, MsgResult::No},
                 {0, MsgButtons::OK, MsgResult::OK}};
  for (const auto& answer : answers)
    EXPECT_EQ(AnswerFromResult(answer.Result, answer.Buttons), answer.Expected) << answer.Result;
}

// Read from a timer while the box is open, then answered No: its width,
// its title's in the caption font, a caption button's.
int boxWidth = 0, titleWidth = 0, captionButton = 0;

void CALLBACK ReadBoxAndAnswerNo(HWND, UINT, UINT_PTR timer, DWORD) {
  HWND box = GetActiveWindow();
  KillTimer(nullptr, timer);
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
  HDC dc = GetDC(box);
  HGDIOBJ old = SelectObject(dc, CreateFontIndirectW(&metrics.lfCaptionFont));
  SIZE title{};
  GetTextExtentPoint32W(dc, L"RIGBOX Extract", 14, &title);
  DeleteObject(SelectObject(dc, old));
  ReleaseDC(box, dc);
  RECT frame;
  GetWindowRect(box, &frame);
  boxWidth = frame.right - frame.left, titleWidth = title.cx, captionButton = metrics.iCaptionWidth;
  SendMessageW(GetDlgItem(box, IDNO), BM_CLICK, 0, 0);
}

// A short question under a long title: room for the title, half as wide
// again for a window manager's face, the icon and three caption buttons.
TEST(Win32Dialogs, MessageBoxWideEnoughForItsTitle) {
  MSG left;  // a quit left by an earlier window would end the box at once
  while (PeekMessageW(&left, nullptr, 0, 0, PM_REMOVE)) {
  }
  UINT_PTR timer = SetTimer(nullptr, 0, 200, ReadBoxAndAnswerNo);
  EXPECT_EQ(win32_frontend::ShowMessageBox(nullptr, "Are you sure?", "RIGBOX Extract", MsgButtons::YesNo,
                                           MsgIcon::Question),
            MsgResult::No);
  KillTimer(nullptr, timer);
  ASSERT_GT(titleWidth, 0);
  EXPECT_GE(boxWidth, titleWidth * 3 / 2 + 4 * captionButton);
}

// The elevated restart is given the folder behind a subst drive, which the
// elevated program does not see; a local drive's path stays as it is.
TEST(Win32ElevatedRestart, SubstDriveGivesWayToItsFolder) {
  ASSERT_TRUE(DefineDosDeviceW(0, L"T:", L"C:\\windows"));
  std::wstring subst = L"T:\\Games\\Gravelon", local = L"C:\\Games", share = L"\\\\server\\share\\Games";
  bool seen = win32_frontend::SeenElevated(subst);
  DefineDosDeviceW(DDD_REMOVE_DEFINITION, L"T:", nullptr);
  EXPECT_TRUE(seen && win32_frontend::SeenElevated(local) && win32_frontend::SeenElevated(share));
  EXPECT_EQ(subst, L"C:\\windows\\Games\\Gravelon");
  EXPECT_EQ(local, L"C:\\Games");
  EXPECT_EQ(share, L"\\\\server\\share\\Games");
}

// The uninstall entry's command ends with the status of its elevated run.
TEST(Win32ElevatedRestart, WaitsForTheRunAndGivesItsStatus) {
  DWORD status = 0;
  EXPECT_TRUE(win32_frontend::StartElevated(nullptr, L"cmd.exe", L"/c exit 5", &status) && status == 5);
}

}  // namespace
