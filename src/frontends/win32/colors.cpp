#include "colors.h"

namespace win32_frontend {

COLORREF ToColorRef(const wizard::Color& color) {
  if (color.From == wizard::Color::Source::System) return GetSysColor(color.SystemIndex);
  return RGB(color.R, color.G, color.B);
}

BrushCache::~BrushCache() {
  for (auto& [color, brush] : made_) DeleteObject(brush);
}

HBRUSH BrushCache::Get(const wizard::Color& color) {
  if (color.From == wizard::Color::Source::System) return GetSysColorBrush(color.SystemIndex);
  COLORREF value = ToColorRef(color);
  for (const auto& [made, brush] : made_) {
    if (made == value) return brush;
  }
  HBRUSH brush = CreateSolidBrush(value);
  made_.emplace_back(value, brush);
  return brush;
}

}  // namespace win32_frontend
