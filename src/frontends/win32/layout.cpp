#include "layout.h"

#include <algorithm>
#include <cmath>

namespace win32_frontend {
namespace {

// twips * dpi / kTwipsPerInch, cut towards zero after adding offset to the
// magnitude of the product. In doubles, which hold the product exactly and
// cannot round a quotient across a whole number (its fraction moves in steps
// of 1/1440): 64-bit integer division would bring in libgcc's helpers.
int ScaledTwips(int32_t twips, int dpi, double offset) {
  double scaled = static_cast<double>(twips) * dpi;
  double magnitude = (scaled >= 0 ? scaled : -scaled) + offset;
  double whole = std::floor(magnitude / kTwipsPerInch);
  return static_cast<int>(scaled >= 0 ? whole : -whole);
}

int AbsoluteToPixels(const wizard::FormModel& model, int container, bool horizontal, int dpi) {
  if (container == wizard::kContainerForm) return 0;
  int32_t twips = horizontal ? model.AbsoluteLeft(container) : model.AbsoluteTop(container);
  return TwipsToPixels(twips, dpi);
}

}  // namespace

int TwipsToPixels(int32_t twips, int dpi) { return ScaledTwips(twips, dpi, kTwipsPerInch / 2); }

int PointsToPixels(double points, int dpi) { return static_cast<int>(points * dpi / 72.0 + 0.5); }

PixelRect ClientArea(const wizard::FormModel& model, int dpi) {
  return PixelRect{0, 0, TwipsToPixels(model.Form.Width, dpi), TwipsToPixels(model.Form.Height, dpi)};
}

PixelRect ControlBounds(const wizard::FormModel& model, int position, int dpi) {
  const wizard::Control& control = model.Controls[static_cast<size_t>(position)];
  int32_t left = model.AbsoluteLeft(position);
  int32_t top = model.AbsoluteTop(position);
  int x0 = TwipsToPixels(left, dpi);
  int y0 = TwipsToPixels(top, dpi);
  int x1 = TwipsToPixels(left + control.Width, dpi);
  int y1 = TwipsToPixels(top + control.Height, dpi);
  int originX = AbsoluteToPixels(model, control.Container, true, dpi);
  int originY = AbsoluteToPixels(model, control.Container, false, dpi);
  return PixelRect{x0 - originX, y0 - originY, x1 - x0, y1 - y0};
}

PixelStroke LineStroke(const wizard::FormModel& model, int position, int dpi) {
  const wizard::Control& line = model.Controls[static_cast<size_t>(position)];
  auto cut = [dpi](int32_t twips) { return ScaledTwips(twips, dpi, 0); };
  int thickness = std::max(1, (line.BorderWidth * dpi + kBaseDpi / 2) / kBaseDpi);
  int x1 = cut(std::min(line.X1, line.X2));
  int x2 = cut(std::max(line.X1, line.X2));
  int y1 = cut(std::min(line.Y1, line.Y2));
  int y2 = cut(std::max(line.Y1, line.Y2));
  // The stroke covers the end points and is as thick as the pen.
  return PixelRect{x1, y1, std::max(x2 - x1, thickness), std::max(y2 - y1, thickness)};
}

std::vector<int> StackingOrder(const wizard::FormModel& model, int container) {
  auto before = [&model](int a, int b) {
    const auto& ta = model.Controls[static_cast<size_t>(a)].TabIndex;
    const auto& tb = model.Controls[static_cast<size_t>(b)].TabIndex;
    if (ta.has_value() != tb.has_value()) return ta.has_value();
    return ta.has_value() && *ta < *tb;
  };
  // An insertion sort: stable, and a handful of children need no more.
  std::vector<int> children = model.Children(container);
  for (size_t i = 1; i < children.size(); ++i) {
    for (size_t j = i; j > 0 && before(children[j], children[j - 1]); --j)
      std::swap(children[j], children[j - 1]);
  }
  return children;
}

}  // namespace win32_frontend
