// The window's model in pixels at a given DPI, for both front ends: where
// each control goes, the strips its lines cover, the order the keyboard
// takes. Every edge is converted from the control's absolute position in
// twips, so rounding never adds up along the container chain and
// neighbouring controls stay flush.
#pragma once

#include <cstdint>
#include <vector>

#include "wizard/form_model.h"

namespace wizard {

inline constexpr int kBaseDpi = 96;
inline constexpr int kTwipsPerInch = 1440;

struct PixelRect {
  int Left = 0, Top = 0, Width = 0, Height = 0;
  int Right() const { return Left + Width; }
  int Bottom() const { return Top + Height; }
  bool operator==(const PixelRect&) const = default;
};

// Twips to pixels, rounded to the nearest pixel (halves away from zero).
int TwipsToPixels(int32_t twips, int dpi);

// A font's point size as a character height in pixels.
int PointsToPixels(double points, int dpi);

// A caption drawn in a face other than the designed one (a system without
// it) may not fit its control: it shrinks a pixel at a time down to three
// quarters of the designed height, the smallest taken whether it fits or
// not. fits(height) is the toolkit's measurement; heights are in pixels.
constexpr int SmallestCaptionHeight(int designed) { return designed * 3 / 4 > 1 ? designed * 3 / 4 : 1; }

template <typename Fits>
int CaptionHeight(int designed, Fits fits) {
  int height = designed;
  while (height > SmallestCaptionHeight(designed) && !fits(height)) --height;
  return height;
}

// The window's client area.
PixelRect ClientArea(const FormModel& model, int dpi);

// Controls[position] in its container's client area (the form's for a
// control on the form). A line gives the strip of pixels it covers: its
// ends are cut to whole pixels, and its row across is the one it lies in
// at 96 dpi scaled by the pen, so the etched pair (0 and 24 twips) stays a
// grey line with the white one right below it at every DPI.
PixelRect ControlBounds(const FormModel& model, int position, int dpi);

// The same in the window's client area, for toolkits that place every
// widget there.
PixelRect WindowBounds(const FormModel& model, int position, int dpi);

// The children of container from front to back: by tab index, then those
// that take no focus in collection order. Keyboard navigation follows this
// order, and a control earlier in it lies on top (the title strip over the
// step frames' first row).
std::vector<int> TabOrder(const FormModel& model, int container);

// The position in model.Controls of a control held there, or -1 (the form
// itself, or a control of another model).
int PositionOf(const FormModel& model, const Control& control);

}  // namespace wizard
