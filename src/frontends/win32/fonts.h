// The fonts the model names, as Windows fonts at the window's DPI.
#pragma once

#include "windows_api.h"

#include <string>
#include <utility>
#include <vector>

#include "wizard/form_model.h"
#include "wizard/string_table.h"

namespace win32_frontend {

struct FontRequest {
  std::wstring Face;
  int Height = 0;  // negative: character height in pixels, as LOGFONT takes it
  int Weight = FW_NORMAL;
  BYTE Charset = DEFAULT_CHARSET;
  bool operator==(const FontRequest&) const = default;
};

// The Windows font for a model font at dpi, in the face the design names.
// Where the design says ANSI, textCharset is asked for instead: the face
// is a bitmap font of one code page, and it must hold the text's letters.
FontRequest RequestFor(const wizard::Font& font, int dpi, BYTE textCharset);

// The character set that holds the letters of language's texts: Central
// European for Polish, whatever the system's code page; for English the
// system's own, which also suits the folder names the player sees.
BYTE TextCharset(wizard::Language language);

// True when window's text, drawn in font, fits its client area as a label
// (wrapped where it has room for two lines) or, with button, as a button
// shows it; always true where the system gave the face asked for, whose
// design the window follows.
bool CaptionFits(HWND window, HFONT font, const std::wstring& face, bool button);

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
