// The fonts the model names, as Windows fonts at the window's DPI.
#pragma once

#include "windows_api.h"

#include <string>
#include <utility>
#include <vector>

#include "wizard/form_model.h"

namespace win32_frontend {

// The face the window was designed with; it stands for the system's dialog
// font, which has the Central European letters the Polish texts need.
inline constexpr const char* kDesignDialogFace = "MS Sans Serif";
// Used when the system names no dialog font.
inline constexpr const wchar_t* kFallbackDialogFace = L"MS Shell Dlg 2";

struct FontRequest {
  std::wstring Face;
  int Height = 0;  // negative: character height in pixels, as LOGFONT takes it
  int Weight = FW_NORMAL;
  BYTE Charset = DEFAULT_CHARSET;
  bool operator==(const FontRequest&) const = default;
};

// The Windows font for a model font at dpi. The design's dialog face maps
// to dialogFace; Central European keeps its character set, and the
// design's ANSI becomes the default set, since the text goes through the
// Unicode API and must not lose its Polish letters to the font mapper.
FontRequest RequestFor(const wizard::Font& font, int dpi, const std::wstring& dialogFace);

// The system's dialog font face at dpi.
std::wstring DialogFontFace(int dpi);

// Fonts made once per request and deleted together.
class FontCache {
 public:
  FontCache() = default;
  ~FontCache();
  FontCache(const FontCache&) = delete;
  FontCache& operator=(const FontCache&) = delete;

  HFONT Get(const FontRequest& request);
  void Clear();

 private:
  std::vector<std::pair<FontRequest, HFONT>> fonts_;  // a few; searched in order
};

}  // namespace win32_frontend
