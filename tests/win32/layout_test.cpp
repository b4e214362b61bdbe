// Pixel positions of the wizard's controls, worked out by hand from the
// window's design in twips (15 twips a pixel at 96 dpi).
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "layout.h"
#include "wizard/form_model.h"

namespace {

using win32_frontend::ClientArea;
using win32_frontend::ControlBounds;
using win32_frontend::LineStroke;
using win32_frontend::PixelRect;
using win32_frontend::PointsToPixels;
using win32_frontend::StackingOrder;
using win32_frontend::TwipsToPixels;

struct TwipsCase {
  int32_t Twips;
  int Dpi;
  int Pixels;
};

class Win32LayoutTwips : public testing::TestWithParam<TwipsCase> {};

TEST_P(Win32LayoutTwips, RoundsToTheNearestPixel) {
  EXPECT_EQ(TwipsToPixels(GetParam().Twips, GetParam().Dpi), GetParam().Pixels);
}

INSTANTIATE_TEST_SUITE_P(Win32Layout, Win32LayoutTwips,
                         testing::Values(TwipsCase{0, 96, 0}, TwipsCase{15, 96, 1}, TwipsCase{7, 96, 0},
                                         TwipsCase{8, 96, 1},          // 0.53 px
                                         TwipsCase{312, 96, 21},       // 20.8 px: a button's height
                                         TwipsCase{975, 96, 65},       // the title strip's lower edge
                                         TwipsCase{-120, 96, -8},      // the strip's overhang
                                         TwipsCase{-128, 96, -9},      // -8.53 px
                                         TwipsCase{-5, 144, -1},       // halves go away from zero
                                         TwipsCase{4590, 120, 383},    // 382.5 px
                                         TwipsCase{7185, 144, 719}));  // 718.5 px

TEST(Win32Layout, FontSizesInPixels) {
  EXPECT_EQ(PointsToPixels(8.25, 96), 11);
  EXPECT_EQ(PointsToPixels(9.75, 96), 13);
  EXPECT_EQ(PointsToPixels(8.25, 120), 14);
  EXPECT_EQ(PointsToPixels(9.75, 144), 20);
}

TEST(Win32Layout, ClientAreaFollowsTheDpi) {
  wizard::FormModel model = wizard::BuildMainFormModel();
  EXPECT_EQ(ClientArea(model, 96), (PixelRect{0, 0, 479, 306}));
  EXPECT_EQ(ClientArea(model, 120), (PixelRect{0, 0, 599, 383}));
  EXPECT_EQ(ClientArea(model, 144), (PixelRect{0, 0, 719, 459}));
}

struct BoundsCase {
  const char* Name;
  std::optional<int16_t> Index;
  PixelRect Expected;  // in the container, at 96 dpi
};

class Win32LayoutBounds : public testing::TestWithParam<BoundsCase> {};

TEST_P(Win32LayoutBounds, At96Dpi) {
  wizard::FormModel model = wizard::BuildMainFormModel();
  int position = model.IndexOf(GetParam().Name, GetParam().Index);
  ASSERT_GE(position, 0);
  EXPECT_EQ(ControlBounds(model, position, 96), GetParam().Expected);
}

// Edges come from the absolute position in twips, so a control whose
// container starts at a fraction of a pixel still ends where the design
// puts it: the buttons are 73 px wide (72.8) wherever they start.
INSTANTIATE_TEST_SUITE_P(
    Win32Layout, Win32LayoutBounds,
    testing::Values(BoundsCase{"picTitle", std::nullopt, {-8, -8, 489, 73}},
                    BoundsCase{"lblTitle", std::nullopt, {24, 16, 321, 17}},
                    BoundsCase{"imgGV", std::nullopt, {360, 8, 110, 60}},
                    BoundsCase{"fraStep", 0, {8, 64, 457, 201}}, BoundsCase{"fraStep", 7, {8, 64, 457, 201}},
                    BoundsCase{"fraGameFolder", 0, {24, 136, 417, 49}},
                    BoundsCase{"btnBrowse", 0, {336, 16, 73, 21}},
                    BoundsCase{"prgsAction", std::nullopt, {24, 152, 417, 25}},
                    BoundsCase{"lstCarList", std::nullopt, {128, 48, 225, 121}},
                    BoundsCase{"picNav", std::nullopt, {0, 268, 479, 38}},
                    BoundsCase{"cmdNav", 1, {152, 8, 73, 21}}, BoundsCase{"cmdNav", 2, {232, 8, 73, 21}},
                    BoundsCase{"cmdNav", 3, {304, 8, 73, 21}}, BoundsCase{"cmdNav", 4, {392, 8, 73, 21}}));

TEST(Win32Layout, EtchedSeparatorIsGreyThenWhiteOnePixelBelow) {
  wizard::FormModel model = wizard::BuildMainFormModel();
  int grey = model.IndexOf("Line1", 1);
  int white = model.IndexOf("Line1", 2);
  EXPECT_EQ(LineStroke(model, grey, 96), (PixelRect{7, 0, 460, 1}));
  EXPECT_EQ(LineStroke(model, white, 96), (PixelRect{7, 1, 460, 1}));
  // At 150 % both are two pixels thick and still touch.
  EXPECT_EQ(LineStroke(model, grey, 144), (PixelRect{10, 0, 691, 2}));
  EXPECT_EQ(LineStroke(model, white, 144), (PixelRect{10, 2, 691, 2}));
}

std::vector<std::string> Names(const wizard::FormModel& model, const std::vector<int>& positions) {
  std::vector<std::string> names;
  for (int position : positions) {
    const wizard::Control& control = model.Controls[static_cast<size_t>(position)];
    names.push_back(control.Name + (control.Index ? "(" + std::to_string(*control.Index) + ")" : ""));
  }
  return names;
}

TEST(Win32Layout, StackingFollowsTheTabOrder) {
  wizard::FormModel model = wizard::BuildMainFormModel();
  EXPECT_EQ(Names(model, StackingOrder(model, wizard::kContainerForm)),
            (std::vector<std::string>{"picNav", "picTitle", "fraStep(0)", "fraStep(4)", "fraStep(6)",
                                      "fraStep(7)"}));
  EXPECT_EQ(Names(model, StackingOrder(model, model.IndexOf("picNav"))),
            (std::vector<std::string>{"cmdNav(4)", "cmdNav(3)", "cmdNav(2)", "cmdNav(1)", "cmdNav(0)",
                                      "Line1(1)", "Line1(2)"}));
  // Controls that take no focus follow, in the order they were placed.
  EXPECT_EQ(Names(model, StackingOrder(model, model.IndexOf("picTitle"))),
            (std::vector<std::string>{"lblTitle", "lblSubTitle", "imgGV", "dlgFile"}));
  EXPECT_EQ(Names(model, StackingOrder(model, model.IndexOf("fraStep", 4))),
            (std::vector<std::string>{"lblDescription(4)", "prgsAction", "lblAction"}));
}

}  // namespace
