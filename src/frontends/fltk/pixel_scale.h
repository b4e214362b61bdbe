// The DPI the window is laid out at on the screen it opens on. FLTK does not
// scale for dense screens by itself: the layout is drawn at the nearest
// quarter step of 96 dpi (125 %, 150 %, ...), as desktops offer them, so a
// screen that reports 100 dpi still gets the window pixel for pixel.
#pragma once

#include "wizard/pixel_layout.h"

namespace fltk_frontend {

class PixelScale {
 public:
  explicit PixelScale(int dpi = wizard::kBaseDpi) : dpi_(dpi) {}

  // The scale for a screen of dpi dots per inch: never below 96 dpi.
  static PixelScale ForDpi(double dpi);

  int Dpi() const { return dpi_; }
  // What one pixel at 96 dpi becomes, for sizes of the toolkit's own.
  double Factor() const { return static_cast<double>(dpi_) / wizard::kBaseDpi; }

 private:
  int dpi_;
};

}  // namespace fltk_frontend
