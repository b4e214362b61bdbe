#include "pixel_scale.h"

#include <cmath>

#include "wizard/form_model.h"

namespace fltk_frontend {
namespace {

constexpr double kBaseDpi = 96.0;
constexpr double kPointsPerInch = 72.0;
constexpr double kScaleStep = 0.25;

}  // namespace

PixelScale PixelScale::ForDpi(double dpi) {
  double steps = std::round(dpi / kBaseDpi / kScaleStep);
  double factor = steps * kScaleStep;
  return PixelScale(factor < 1.0 ? 1.0 : factor);
}

int PixelScale::Pixels(int32_t twips) const {
  return static_cast<int>(std::lround(twips * factor_ / wizard::kTwipsPerPixelAt96Dpi));
}

int PixelScale::LinePixels(int32_t twips) const {
  double atBase = std::floor(static_cast<double>(twips) / wizard::kTwipsPerPixelAt96Dpi);
  return static_cast<int>(std::lround(atBase * factor_));
}

int PixelScale::FontPixels(double points) const {
  return static_cast<int>(std::lround(points * kBaseDpi / kPointsPerInch * factor_));
}

}  // namespace fltk_frontend
