#include "wizard/pixel_layout.h"

#include <algorithm>
#include <cmath>
#include <functional>

namespace wizard {
namespace {

// twips * dpi / kTwipsPerInch, cut towards zero after adding offset to the
// magnitude of the product. In doubles, which hold the product exactly and
// cannot round a quotient across a whole number (its fraction moves in steps
// of 1/1440): 64-bit integer division would bring in libgcc's helpers on
// 32-bit Windows.
int ScaledTwips(int32_t twips, int dpi, double offset) {
  double scaled = static_cast<double>(twips) * dpi;
  double magnitude = (scaled >= 0 ? scaled : -scaled) + offset;
  double whole = std::floor(magnitude / kTwipsPerInch);
  return static_cast<int>(scaled >= 0 ? whole : -whole);
}

int CutTwips(int32_t twips, int dpi) { return ScaledTwips(twips, dpi, 0); }

// The pixel a line lies in at 96 dpi, scaled as any position: one 96-dpi
// pixel becomes as many rows as the pen is thick.
int LineRow(int32_t twips, int dpi) {
  return TwipsToPixels(twips / kTwipsPerPixelAt96Dpi * kTwipsPerPixelAt96Dpi, dpi);
}

struct Span {
  int Start, Extent;
};

// A line along one axis: across the line (both ends equal) its row and the
// pen's thickness, along it from one cut end to the other.
Span LineSpan(int32_t a, int32_t b, int dpi, int thickness) {
  if (a == b) return Span{LineRow(a, dpi), thickness};
  int start = CutTwips(std::min(a, b), dpi);
  return Span{start, std::max(CutTwips(std::max(a, b), dpi) - start, thickness)};
}

PixelRect LineStroke(const Control& line, int dpi) {
  int thickness = std::max(1, (line.BorderWidth * dpi + kBaseDpi / 2) / kBaseDpi);
  Span x = LineSpan(line.X1, line.X2, dpi, thickness);
  Span y = LineSpan(line.Y1, line.Y2, dpi, thickness);
  return PixelRect{x.Start, y.Start, x.Extent, y.Extent};
}

// Controls[position] from its absolute edges in twips; not for lines.
PixelRect AbsoluteBounds(const FormModel& model, int position, int dpi) {
  const Control& control = model.Controls[static_cast<size_t>(position)];
  int32_t left = model.AbsoluteLeft(position);
  int32_t top = model.AbsoluteTop(position);
  int x0 = TwipsToPixels(left, dpi);
  int y0 = TwipsToPixels(top, dpi);
  return PixelRect{x0, y0, TwipsToPixels(left + control.Width, dpi) - x0,
                   TwipsToPixels(top + control.Height, dpi) - y0};
}

// rect moved by the corner of container's client area times direction
// (1: into the window's coordinates, -1: out of them).
PixelRect Moved(PixelRect rect, const FormModel& model, int container, int dpi, int direction) {
  if (container == kContainerForm) return rect;
  PixelRect origin = AbsoluteBounds(model, container, dpi);
  rect.Left += direction * origin.Left;
  rect.Top += direction * origin.Top;
  return rect;
}

}  // namespace

int TwipsToPixels(int32_t twips, int dpi) { return ScaledTwips(twips, dpi, kTwipsPerInch / 2.0); }

int PointsToPixels(double points, int dpi) { return static_cast<int>(std::floor(points * dpi / 72.0 + 0.5)); }

PixelRect ClientArea(const FormModel& model, int dpi) {
  return PixelRect{0, 0, TwipsToPixels(model.Form.Width, dpi), TwipsToPixels(model.Form.Height, dpi)};
}

PixelRect ControlBounds(const FormModel& model, int position, int dpi) {
  const Control& control = model.Controls[static_cast<size_t>(position)];
  if (control.Kind == ControlKind::Line) return LineStroke(control, dpi);
  return Moved(AbsoluteBounds(model, position, dpi), model, control.Container, dpi, -1);
}

PixelRect WindowBounds(const FormModel& model, int position, int dpi) {
  const Control& control = model.Controls[static_cast<size_t>(position)];
  if (control.Kind != ControlKind::Line) return AbsoluteBounds(model, position, dpi);
  return Moved(LineStroke(control, dpi), model, control.Container, dpi, 1);
}

std::vector<int> TabOrder(const FormModel& model, int container) {
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

int PositionOf(const FormModel& model, const Control& control) {
  const std::vector<Control>& controls = model.Controls;
  std::less<const Control*> before;
  const Control* first = controls.data();
  if (before(&control, first) || !before(&control, first + controls.size())) return -1;
  return static_cast<int>(&control - first);
}

}  // namespace wizard
