#include "fonts.h"

#include <cwchar>

#include "wide_text.h"
#include "wizard/pixel_layout.h"

namespace win32_frontend {

FontRequest RequestFor(const wizard::Font& font, int dpi, BYTE textCharset) {
  FontRequest request;
  request.Face = Widen(font.Face);
  request.Height = -wizard::PointsToPixels(font.Size, dpi);
  request.Weight = font.Bold ? FW_BOLD : FW_NORMAL;
  request.Charset = font.Charset == wizard::kCharsetAnsi ? textCharset : font.Charset;
  return request;
}

BYTE TextCharset(wizard::Language language) {
  return language == wizard::Language::Polish ? EASTEUROPE_CHARSET : DEFAULT_CHARSET;
}

bool CaptionFits(HWND window, HFONT font, const std::wstring& face, bool button) {
  HDC dc = GetDC(window);
  HGDIOBJ old = SelectObject(dc, font);
  wchar_t given[LF_FACESIZE] = {};
  GetTextFaceW(dc, LF_FACESIZE, given);
  bool fits = face == given;
  if (!fits) {
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    RECT room;
    GetClientRect(window, &room);
    // A button's text lies inside the 3-D border and the focus rectangle.
    if (button) InflateRect(&room, -GetSystemMetrics(SM_CXEDGE) - 1, -GetSystemMetrics(SM_CYEDGE) - 1);
    bool wraps = !button && room.bottom - room.top >= 2 * metrics.tmHeight;
    wchar_t text[1024];
    int length = GetWindowTextW(window, text, 1024);
    RECT needed{0, 0, wraps ? room.right - room.left : 0, 0};
    DrawTextW(dc, text, length, &needed,
              DT_CALCRECT | DT_NOPREFIX | DT_EXPANDTABS | (wraps ? DT_WORDBREAK : DT_SINGLELINE));
    fits = needed.right <= room.right - room.left && needed.bottom <= room.bottom - room.top;
  }
  SelectObject(dc, old);
  ReleaseDC(window, dc);
  return fits;
}

FontCache::~FontCache() { Clear(); }

HFONT FontCache::Get(const FontRequest& request) {
  for (const auto& [made, handle] : fonts_) {
    if (made == request) return handle;
  }
  LOGFONTW font{};
  font.lfHeight = request.Height;
  font.lfWeight = request.Weight;
  font.lfCharSet = request.Charset;
  font.lfOutPrecision = OUT_DEFAULT_PRECIS;
  font.lfClipPrecision = CLIP_DEFAULT_PRECIS;
  font.lfQuality = DEFAULT_QUALITY;
  font.lfPitchAndFamily = DEFAULT_PITCH | FF_SWISS;
  wcsncpy(font.lfFaceName, request.Face.c_str(), LF_FACESIZE - 1);
  HFONT handle = CreateFontIndirectW(&font);
  if (handle != nullptr) fonts_.emplace_back(request, handle);
  return handle;
}

void FontCache::Clear() {
  for (auto& [request, handle] : fonts_) DeleteObject(handle);
  fonts_.clear();
}

}  // namespace win32_frontend
