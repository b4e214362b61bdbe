#include "pixel_scale.h"

#include <gtest/gtest.h>

namespace fltk_frontend {
namespace {

TEST(FltkPixelScale, DesktopDensitiesGiveQuarterSteps) {
  const struct {
    double Dpi;
    double Factor;
  } cases[] = {
      {72, 1.0},    // below the base: never shrink
      {96, 1.0},    // the base
      {100, 1.0},   // Xvfb's and many monitors' rounding: still pixel for pixel
      {120, 1.25},  // 125 %
      {144, 1.5},   // 150 %
      {168, 1.75},  // 175 %
      {192, 2.0},   // 200 %
      {288, 3.0},   // 300 %
  };
  for (const auto& c : cases)
    EXPECT_DOUBLE_EQ(PixelScale::ForDpi(c.Dpi).Factor(), c.Factor) << c.Dpi << " dpi";
}

TEST(FltkPixelScale, TwipsRoundToTheNearestPixel) {
  PixelScale scale;
  EXPECT_EQ(scale.Pixels(7185), 479);  // the client width
  EXPECT_EQ(scale.Pixels(4590), 306);  // the client height
  EXPECT_EQ(scale.Pixels(-120), -8);   // the title strip lies beyond the edges
  EXPECT_EQ(scale.Pixels(1092), 73);   // 72.8
  EXPECT_EQ(scale.Pixels(312), 21);    // 20.8
  EXPECT_EQ(scale.Pixels(7), 0);       // 0.47
  EXPECT_EQ(scale.Pixels(8), 1);       // 0.53
}

TEST(FltkPixelScale, DoubleDensityDoublesEverySize) {
  PixelScale scale(2.0);
  EXPECT_EQ(scale.Pixels(7185), 958);
  EXPECT_EQ(scale.Pixels(4590), 612);
  EXPECT_EQ(scale.Pixels(1092), 146);  // 145.6
  EXPECT_EQ(scale.FontPixels(8.25), 22);
}

TEST(FltkPixelScale, LineEndsFallOnThePixelTheyLieIn) {
  PixelScale scale;
  // The etched separator: grey at 0, white at 24 twips, one row apart.
  EXPECT_EQ(scale.LinePixels(4020), 268);
  EXPECT_EQ(scale.LinePixels(4020 + 24), 269);
  EXPECT_EQ(scale.LinePixels(108), 7);
  EXPECT_EQ(scale.LinePixels(7012), 467);
  // Twice as dense: two rows each, still touching.
  PixelScale dense(2.0);
  EXPECT_EQ(dense.LinePixels(4020), 536);
  EXPECT_EQ(dense.LinePixels(4020 + 24), 538);
}

TEST(FltkPixelScale, PointSizesAtScreenDensity) {
  PixelScale scale;
  EXPECT_EQ(scale.FontPixels(8.25), 11);            // the default face
  EXPECT_EQ(scale.FontPixels(9.75), 13);            // the step title
  EXPECT_EQ(PixelScale(1.5).FontPixels(8.25), 17);  // 16.5 rounds up
}

}  // namespace
}  // namespace fltk_frontend
