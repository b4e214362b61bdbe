#include "pixel_scale.h"

#include <gtest/gtest.h>

#include <utility>

namespace fltk_frontend {
namespace {

// Never below the base; Xvfb's and many monitors' 100 dpi stays pixel for
// pixel; above, the nearest quarter step (125 %, 175 %, 200 %, 300 %).
TEST(FltkPixelScale, DesktopDensitiesGiveQuarterSteps) {
  const std::pair<double, int> cases[] = {{72, 96},   {96, 96},   {100, 96}, {120, 120},
                                          {168, 168}, {192, 192}, {288, 288}};
  for (const auto& [screenDpi, dpi] : cases) EXPECT_EQ(PixelScale::ForDpi(screenDpi).Dpi(), dpi) << screenDpi;
  EXPECT_DOUBLE_EQ(PixelScale(144).Factor(), 1.5);
}

}  // namespace
}  // namespace fltk_frontend
