#include <gtest/gtest.h>

#include "events.h"
#include "windows_api.h"

namespace {

using win32_frontend::ControlId, win32_frontend::IsClick, win32_frontend::PositionOfId;
using wizard::ControlKind;

TEST(Win32Events, PushedButtonsAndPickedRowsAreClicks) {
  EXPECT_TRUE(IsClick(ControlKind::CommandButton, BN_CLICKED));
  EXPECT_TRUE(IsClick(ControlKind::ListBox, LBN_SELCHANGE));
  // Focus changes are no clicks.
  EXPECT_FALSE(IsClick(ControlKind::CommandButton, BN_SETFOCUS));
  EXPECT_FALSE(IsClick(ControlKind::ListBox, LBN_SETFOCUS));
  // A label's or a frame's border's notification shares BN_CLICKED's code.
  EXPECT_FALSE(IsClick(ControlKind::Label, STN_CLICKED));
  EXPECT_FALSE(IsClick(ControlKind::Frame, BN_CLICKED));
}

TEST(Win32Events, ControlIdsAvoidDialogIds) {
  wizard::FormModel model = wizard::BuildMainFormModel();
  // Enter and Escape reach the window as IDOK and IDCANCEL.
  EXPECT_EQ(PositionOfId(model, IDOK), -1);
  EXPECT_EQ(PositionOfId(model, IDCANCEL), -1);
  EXPECT_EQ(PositionOfId(model, ControlId(static_cast<int>(model.Controls.size()))), -1);
}

}  // namespace
