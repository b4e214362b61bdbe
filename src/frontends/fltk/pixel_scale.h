// Twips to pixels on the screen the window opens on. The layout is drawn at
// 15 twips to the pixel at 96 dpi; denser screens scale everything by the
// nearest quarter step (125 %, 150 %, ...), as desktops offer them, so a
// screen that reports 100 dpi still gets the window pixel for pixel.
#pragma once

#include <cstdint>

namespace fltk_frontend {

class PixelScale {
 public:
  explicit PixelScale(double factor = 1.0) : factor_(factor) {}

  // The scale for a screen of dpi dots per inch: never below 1.
  static PixelScale ForDpi(double dpi);

  double Factor() const { return factor_; }
  // A position or size, to the nearest pixel.
  int Pixels(int32_t twips) const;
  // A line's end point: cut to the pixel it lies in at 96 dpi, then scaled,
  // so the etched pair's lines 24 twips (1.6 px) apart stay on neighbouring
  // rows at every density.
  int LinePixels(int32_t twips) const;
  // The pixel size of a font of points points.
  int FontPixels(double points) const;

 private:
  double factor_;
};

}  // namespace fltk_frontend
