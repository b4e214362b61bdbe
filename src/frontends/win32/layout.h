// Where each control of the wizard's model goes on screen, in pixels at a
// given DPI. Every edge is converted from the control's absolute position in
// twips and then made relative to its container, so rounding never adds up
// along the container chain and neighbouring controls stay flush.
#pragma once

#include <cstdint>
#include <vector>

#include "wizard/form_model.h"

namespace win32_frontend {

inline constexpr int kBaseDpi = 96;
inline constexpr int kTwipsPerInch = 1440;

struct PixelRect {
  int Left = 0, Top = 0, Width = 0, Height = 0;
  int Right() const { return Left + Width; }
  int Bottom() const { return Top + Height; }
  bool operator==(const PixelRect&) const = default;
};

// A horizontal or vertical stroke of a line control: the filled rectangle
// it covers in its container.
using PixelStroke = PixelRect;

// Twips to pixels, rounded to the nearest pixel (halves away from zero).
int TwipsToPixels(int32_t twips, int dpi);

// A font's point size as a character height in pixels.
int PointsToPixels(double points, int dpi);

// The window's client area.
PixelRect ClientArea(const wizard::FormModel& model, int dpi);

// Controls[position] in its container's client area (the form's for a
// control on the form).
PixelRect ControlBounds(const wizard::FormModel& model, int position, int dpi);

// The pixels a line control covers in its container. Line ends are cut to
// whole pixels rather than rounded, so the etched pair (0 and 24 twips)
// stays a grey line with the white one right below it; the thickness grows
// with the DPI.
PixelStroke LineStroke(const wizard::FormModel& model, int position, int dpi);

// The children of container from front to back: by tab index, then those
// that take no focus in collection order. Windows keyboard navigation
// follows this order, and a control earlier in the tab order lies on top
// (the title strip over the step frames' first row).
std::vector<int> StackingOrder(const wizard::FormModel& model, int container);

}  // namespace win32_frontend
