// Pixels from twips, on a small model of its own: a picture box that starts
// at fractions of a pixel, a label inside it, the etched pair of lines and
// a vertical one.
#include "wizard/pixel_layout.h"

#include <gtest/gtest.h>

#include <tuple>

namespace {

using wizard::Control, wizard::ControlKind, wizard::PixelRect;

constexpr int kBox = 0, kLabel = 1, kBoxButton = 2, kGrey = 3, kWhite = 4, kVertical = 5, kFormButton = 6;

Control Placed(ControlKind kind, int container, int32_t left, int32_t top, int32_t width, int32_t height) {
  Control control;
  control.Kind = kind;
  control.Container = container;
  control.Left = left, control.Top = top, control.Width = width, control.Height = height;
  return control;
}

Control Line(int container, int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
  Control line = Placed(ControlKind::Line, container, 0, 0, 0, 0);
  line.X1 = x1, line.Y1 = y1, line.X2 = x2, line.Y2 = y2;
  return line;
}

wizard::FormModel SmallModel() {
  constexpr int kForm = wizard::kContainerForm;
  wizard::FormModel model;
  model.Form.Width = 3000;
  model.Form.Height = 1500;
  model.Controls = {
      Placed(ControlKind::PictureBox, kForm, 100, -20, 2000, 1000),
      Placed(ControlKind::Label, kBox, 57, 30, 22, 300),
      Placed(ControlKind::CommandButton, kBox, 0, 0, 0, 0),
      Line(kBox, 108, 0, 1012, 0),
      Line(kBox, 108, 24, 1012, 24),
      Line(kForm, 45, 30, 45, 330),
      Placed(ControlKind::CommandButton, kForm, 0, 0, 0, 0),
  };
  model.Controls[kBox].TabIndex = 2;
  model.Controls[kLabel].TabIndex = 0;
  model.Controls[kBoxButton].TabIndex = 1;
  model.Controls[kFormButton].TabIndex = 0;
  return model;
}

TEST(WizardPixelLayout, TwipsRoundToTheNearestPixelHalvesAwayFromZero) {
  const struct {
    int32_t Twips;
    int Dpi;
    int Pixels;
  } cases[] = {
      {7, 96, 0},    {8, 96, 1},       {-7, 96, 0},    {-8, 96, -1},     {312, 96, 21},
      {-5, 144, -1}, {4590, 120, 383}, {720, 101, 51}, {-720, 101, -51}, {1000, 110, 76},
  };
  for (const auto& c : cases)
    EXPECT_EQ(wizard::TwipsToPixels(c.Twips, c.Dpi), c.Pixels) << c.Twips << " at " << c.Dpi;
  EXPECT_EQ(wizard::PointsToPixels(8.25, 96), 11);
  EXPECT_EQ(wizard::PointsToPixels(8.25, 120), 14);  // 13.75
  EXPECT_EQ(wizard::PointsToPixels(9.75, 144), 20);  // 19.5
}

// A caption that does not fit shrinks a pixel at a time to the largest size
// that fits, never below three quarters of the designed one.
TEST(WizardPixelLayout, CaptionShrinksToTheLargestFittingHeight) {
  EXPECT_EQ(wizard::CaptionHeight(16, [](int height) { return height <= 13; }), 13);
  EXPECT_EQ(wizard::CaptionHeight(16, [](int) { return false; }), 12);
  EXPECT_EQ(wizard::CaptionHeight(3, [](int) { return false; }), 2);
  EXPECT_EQ(wizard::CaptionHeight(1, [](int) { return false; }), 1);
}

TEST(WizardPixelLayout, ClientAreaScalesWithTheDpi) {
  EXPECT_EQ(wizard::ClientArea(SmallModel(), 96), (PixelRect{0, 0, 200, 100}));
  EXPECT_EQ(wizard::ClientArea(SmallModel(), 144), (PixelRect{0, 0, 300, 150}));
}

// Bounds in the container or in the window, from absolute
// twips: the label, 157 to 179 twips across (10.47 to 11.93 px), is two
// pixels wide although its width alone would round to one. Line ends are
// cut, and the pen grows with the dpi.
TEST(WizardPixelLayout, BoundsFromAbsoluteTwips) {
  wizard::FormModel model = SmallModel();
  using wizard::ControlBounds, wizard::WindowBounds;
  const std::tuple<PixelRect (*)(const wizard::FormModel&, int, int), int, int, PixelRect> cases[] = {
      {ControlBounds, kBox, 96, {7, -1, 133, 66}},   {ControlBounds, kBox, 144, {10, -2, 200, 100}},
      {WindowBounds, kLabel, 96, {10, 1, 2, 20}},    {WindowBounds, kLabel, 144, {16, 1, 2, 30}},
      {ControlBounds, kLabel, 96, {3, 2, 2, 20}},    {ControlBounds, kLabel, 144, {6, 3, 2, 30}},
      {ControlBounds, kGrey, 96, {7, 0, 60, 1}},     {ControlBounds, kGrey, 144, {10, 0, 91, 2}},
      {ControlBounds, kWhite, 96, {7, 1, 60, 1}},    {WindowBounds, kWhite, 96, {14, 0, 60, 1}},
      {ControlBounds, kVertical, 96, {3, 2, 1, 20}}, {ControlBounds, kVertical, 144, {5, 3, 2, 30}},
      {ControlBounds, kGrey, 192, {14, 0, 120, 2}},
  };
  for (const auto& [bounds, position, dpi, expected] : cases)
    EXPECT_EQ(bounds(model, position, dpi), expected) << position << " at " << dpi;
}

TEST(WizardPixelLayout, EtchedPairTouchesAtEveryDensity) {
  wizard::FormModel model = SmallModel();
  for (int dpi = 96; dpi <= 288; dpi += 8) {
    PixelRect grey = wizard::ControlBounds(model, kGrey, dpi);
    PixelRect white = wizard::ControlBounds(model, kWhite, dpi);
    EXPECT_EQ(white.Top, grey.Bottom()) << dpi << " dpi";
    EXPECT_EQ(white.Height, grey.Height) << dpi << " dpi";
  }
}

TEST(WizardPixelLayout, TabOrderThenTheRestInCollectionOrder) {
  wizard::FormModel model = SmallModel();
  EXPECT_EQ(wizard::TabOrder(model, wizard::kContainerForm),
            (std::vector<int>{kFormButton, kBox, kVertical}));
  EXPECT_EQ(wizard::TabOrder(model, kBox), (std::vector<int>{kLabel, kBoxButton, kGrey, kWhite}));
  // A control's position, found by its address: a copy has none.
  EXPECT_EQ(wizard::PositionOf(model, model.Controls[kWhite]), kWhite);
  EXPECT_EQ(wizard::PositionOf(model, Control(model.Controls[kWhite])), -1);
}

}  // namespace
