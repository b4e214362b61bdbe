#include "fonts.h"

#include <cwchar>

#include "layout.h"
#include "system_api.h"
#include "wide_text.h"

namespace win32_frontend {

FontRequest RequestFor(const wizard::Font& font, int dpi, const std::wstring& dialogFace) {
  FontRequest request;
  request.Face = font.Face == kDesignDialogFace ? dialogFace : Widen(font.Face);
  request.Height = -PointsToPixels(font.Size, dpi);
  request.Weight = font.Bold ? FW_BOLD : FW_NORMAL;
  request.Charset = font.Charset == wizard::kCharsetAnsi ? static_cast<BYTE>(DEFAULT_CHARSET) : font.Charset;
  return request;
}

std::wstring DialogFontFace(int dpi) {
  LOGFONTW font{};
  if (MessageFont(font, dpi) && font.lfFaceName[0] != L'\0') return font.lfFaceName;
  return kFallbackDialogFace;
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
