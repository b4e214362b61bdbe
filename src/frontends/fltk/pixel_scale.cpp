#include "pixel_scale.h"

#include <cmath>

namespace fltk_frontend {
namespace {

constexpr int kQuartersPerStep = 4;

}  // namespace

PixelScale PixelScale::ForDpi(double dpi) {
  long quarters = std::lround(dpi * kQuartersPerStep / wizard::kBaseDpi);
  if (quarters < kQuartersPerStep) quarters = kQuartersPerStep;
  return PixelScale(static_cast<int>(quarters) * wizard::kBaseDpi / kQuartersPerStep);
}

}  // namespace fltk_frontend
