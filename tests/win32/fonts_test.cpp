#include <gtest/gtest.h>

#include "fonts.h"

namespace {

using win32_frontend::FontRequest;
using win32_frontend::RequestFor;

wizard::Font DesignFont(double size, bool bold, uint8_t charset) {
  wizard::Font font;
  font.Size = size;
  font.Bold = bold;
  font.Charset = charset;
  return font;
}

TEST(Win32Fonts, DesignFaceBecomesTheDialogFont) {
  FontRequest request = RequestFor(DesignFont(8.25, false, wizard::kCharsetAnsi), 96, L"Segoe UI");
  EXPECT_EQ(request.Face, L"Segoe UI");
  EXPECT_EQ(request.Height, -11);
  EXPECT_EQ(request.Weight, FW_NORMAL);
  // Unicode text must not be narrowed to the Western character set.
  EXPECT_EQ(request.Charset, DEFAULT_CHARSET);
}

TEST(Win32Fonts, BoldTitleKeepsCentralEuropean) {
  FontRequest request = RequestFor(DesignFont(9.75, true, wizard::kCharsetEastEurope), 96, L"Tahoma");
  EXPECT_EQ(request.Height, -13);
  EXPECT_EQ(request.Weight, FW_BOLD);
  EXPECT_EQ(request.Charset, EASTEUROPE_CHARSET);
}

TEST(Win32Fonts, SizeFollowsTheDpi) {
  EXPECT_EQ(RequestFor(DesignFont(8.25, true, wizard::kCharsetEastEurope), 120, L"Tahoma").Height, -14);
  EXPECT_EQ(RequestFor(DesignFont(9.75, true, wizard::kCharsetEastEurope), 192, L"Tahoma").Height, -26);
}

TEST(Win32Fonts, OtherFacesStayAsDesigned) {
  wizard::Font font = DesignFont(10, false, wizard::kCharsetAnsi);
  font.Face = "Courier New";
  EXPECT_EQ(RequestFor(font, 96, L"Tahoma").Face, L"Courier New");
}

TEST(Win32Fonts, CacheMakesEachFontOnce) {
  win32_frontend::FontCache cache;
  FontRequest bold = RequestFor(DesignFont(9.75, true, wizard::kCharsetEastEurope), 96, L"Tahoma");
  FontRequest plain = RequestFor(DesignFont(8.25, false, wizard::kCharsetAnsi), 96, L"Tahoma");
  HFONT first = cache.Get(bold);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(cache.Get(bold), first);
  EXPECT_NE(cache.Get(plain), first);
  LOGFONTW made{};
  ASSERT_NE(GetObjectW(first, sizeof made, &made), 0);
  EXPECT_EQ(made.lfHeight, -13);
  EXPECT_EQ(made.lfWeight, FW_BOLD);
  EXPECT_EQ(made.lfCharSet, EASTEUROPE_CHARSET);
}

}  // namespace
