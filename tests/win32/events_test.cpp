#include <gtest/gtest.h>

#include <optional>

#include "events.h"
#include "windows_api.h"
#include "wizard/frm_main.h"
#include "wizard/string_table.h"
#include "wizard/wizard_fixture.h"

namespace {

using win32_frontend::ControlId;
using win32_frontend::FormEvent;
using win32_frontend::PositionOfId;
using win32_frontend::RouteCommand;
using win32_frontend::RoutedEvent;

struct RouteCase {
  const char* Name;
  std::optional<int16_t> Index;
  unsigned Notification;
  int SelectedRow;
  FormEvent Expected;
  int16_t ExpectedIndex;
};

class Win32EventsRoute : public testing::TestWithParam<RouteCase> {};

TEST_P(Win32EventsRoute, ToTheHandler) {
  wizard::FormModel model = wizard::BuildMainFormModel();
  int position = model.IndexOf(GetParam().Name, GetParam().Index);
  ASSERT_GE(position, 0);
  RoutedEvent event = RouteCommand(model, position, GetParam().Notification, GetParam().SelectedRow);
  EXPECT_EQ(event.Event, GetParam().Expected);
  if (GetParam().Expected != FormEvent::None) {
    EXPECT_EQ(event.Index, GetParam().ExpectedIndex);
    EXPECT_EQ(event.Position, position);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Win32Events, Win32EventsRoute,
    testing::Values(RouteCase{"cmdNav", 0, BN_CLICKED, -1, FormEvent::NavClick, 0},
                    RouteCase{"cmdNav", 1, BN_CLICKED, -1, FormEvent::NavClick, 1},
                    RouteCase{"cmdNav", 3, BN_CLICKED, -1, FormEvent::NavClick, 3},
                    RouteCase{"cmdNav", 4, BN_CLICKED, -1, FormEvent::NavClick, 4},
                    // Focus changes of a button are no clicks.
                    RouteCase{"cmdNav", 3, BN_SETFOCUS, -1, FormEvent::None, 0},
                    RouteCase{"btnBrowse", 0, BN_CLICKED, -1, FormEvent::BrowseClick, 0},
                    RouteCase{"lstCarList", std::nullopt, LBN_SELCHANGE, 2, FormEvent::CarListClick, 0},
                    RouteCase{"lstCarList", std::nullopt, LBN_SETFOCUS, 2, FormEvent::None, 0},
                    // Labels notify nothing the wizard handles.
                    RouteCase{"lblTitle", std::nullopt, STN_CLICKED, -1, FormEvent::None, 0}));

TEST(Win32Events, ListClickCarriesTheSelectedRow) {
  wizard::FormModel model = wizard::BuildMainFormModel();
  EXPECT_EQ(RouteCommand(model, model.IndexOf("lstCarList"), LBN_SELCHANGE, 2).ListIndex, 2);
}

TEST(Win32Events, PositionsOutsideTheModelRouteNowhere) {
  wizard::FormModel model = wizard::BuildMainFormModel();
  EXPECT_EQ(RouteCommand(model, -1, BN_CLICKED, -1), RoutedEvent{});
  EXPECT_EQ(RouteCommand(model, static_cast<int>(model.Controls.size()), BN_CLICKED, -1), RoutedEvent{});
}

TEST(Win32Events, ControlIdsRoundTripAndAvoidDialogIds) {
  wizard::FormModel model = wizard::BuildMainFormModel();
  for (int position = 0; position < static_cast<int>(model.Controls.size()); ++position) {
    EXPECT_EQ(PositionOfId(model, ControlId(position)), position);
  }
  // Enter and Escape reach the window as IDOK and IDCANCEL.
  EXPECT_EQ(PositionOfId(model, IDOK), -1);
  EXPECT_EQ(PositionOfId(model, IDCANCEL), -1);
  EXPECT_EQ(PositionOfId(model, ControlId(static_cast<int>(model.Controls.size()))), -1);
}

class Win32EventsDeliver : public testing::Test {
 protected:
  void SetUp() override { wizard::SetLanguageForTesting(wizard::Language::English); }
  void TearDown() override { wizard::SetLanguageForTesting(std::nullopt); }

  wizard_testing::ScriptedShell shell_;
  wizard_testing::OneValueRegistry registry_;
  wizard::frmMain form_{shell_, registry_};
};

TEST_F(Win32EventsDeliver, ListClickRecordsTheRowAndEnablesNext) {
  form_.Form_Load();
  form_.ShowStep(wizard::kStepSelectCar);
  const wizard::Control* next = form_.Model().Find("cmdNav", wizard::kNavNext);
  ASSERT_FALSE(next->Enabled);
  int list = form_.Model().IndexOf("lstCarList");
  win32_frontend::Deliver(form_, RouteCommand(form_.Model(), list, LBN_SELCHANGE, 1));
  EXPECT_EQ(form_.Model().Controls[static_cast<size_t>(list)].ListIndex, 1);
  EXPECT_TRUE(next->Enabled);
}

TEST_F(Win32EventsDeliver, CancelClickAsksBeforeClosing) {
  form_.Form_Load();
  shell_.Answers.push_back(wizard::MsgResult::No);
  int cancel = form_.Model().IndexOf("cmdNav", wizard::kNavCancel);
  win32_frontend::Deliver(form_, RouteCommand(form_.Model(), cancel, BN_CLICKED, -1));
  ASSERT_EQ(shell_.Messages.size(), 1u);
  EXPECT_EQ(shell_.Messages[0].Text, "Are you sure?");
  EXPECT_EQ(shell_.EndCount, 0);
}

}  // namespace
