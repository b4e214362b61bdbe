#include "pixel_scale.h"

#include <gtest/gtest.h>

namespace fltk_frontend {
namespace {

TEST(FltkPixelScale, DesktopDensitiesGiveQuarterSteps) {
  const struct {
    double ScreenDpi;
    int Dpi;
  } cases[] = {
      {72, 96},    // below the base: never shrink
      {96, 96},    // the base
      {100, 96},   // Xvfb's and many monitors' rounding: still pixel for pixel
      {120, 120},  // 125 %
      {144, 144},  // 150 %
      {168, 168},  // 175 %
      {192, 192},  // 200 %
      {288, 288},  // 300 %
  };
  for (const auto& c : cases)
    EXPECT_EQ(PixelScale::ForDpi(c.ScreenDpi).Dpi(), c.Dpi) << c.ScreenDpi << " dpi";
  EXPECT_DOUBLE_EQ(PixelScale(144).Factor(), 1.5);
}

}  // namespace
}  // namespace fltk_frontend
