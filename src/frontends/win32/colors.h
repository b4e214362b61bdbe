// The model's colours as Windows colours and brushes.
#pragma once

#include "windows_api.h"

#include <utility>
#include <vector>

#include "wizard/form_model.h"

namespace win32_frontend {

COLORREF ToColorRef(const wizard::Color& color);

// Brushes for the model's colours: the system's own for system colours
// (never deleted), one made per fixed colour, deleted with the cache.
class BrushCache {
 public:
  BrushCache() = default;
  ~BrushCache();
  BrushCache(const BrushCache&) = delete;
  BrushCache& operator=(const BrushCache&) = delete;

  HBRUSH Get(const wizard::Color& color);

 private:
  std::vector<std::pair<COLORREF, HBRUSH>> made_;
};

}  // namespace win32_frontend
