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

TEST(Win32Fonts, DesignFaceStaysAndAnsiBecomesTheTextsCharset) {
  FontRequest request = RequestFor(DesignFont(8.25, false, wizard::kCharsetAnsi), 96, EASTEUROPE_CHARSET);
  EXPECT_EQ(request.Face, L"MS Sans Serif");
  EXPECT_EQ(request.Height, -11);
  EXPECT_EQ(request.Weight, FW_NORMAL);
  EXPECT_EQ(request.Charset, EASTEUROPE_CHARSET);
  EXPECT_EQ(win32_frontend::TextCharset(wizard::Language::Polish), EASTEUROPE_CHARSET);
  // English text asks for the system's own set, whatever its code page.
  EXPECT_EQ(win32_frontend::TextCharset(wizard::Language::English), DEFAULT_CHARSET);
}

TEST(Win32Fonts, BoldTitleKeepsCentralEuropean) {
  FontRequest request = RequestFor(DesignFont(9.75, true, wizard::kCharsetEastEurope), 96, DEFAULT_CHARSET);
  EXPECT_EQ(request.Height, -13);
  EXPECT_EQ(request.Weight, FW_BOLD);
  EXPECT_EQ(request.Charset, EASTEUROPE_CHARSET);
}

TEST(Win32Fonts, SizeFollowsTheDpi) {
  EXPECT_EQ(RequestFor(DesignFont(8.25, true, wizard::kCharsetEastEurope), 120, DEFAULT_CHARSET).Height, -14);
  EXPECT_EQ(RequestFor(DesignFont(9.75, true, wizard::kCharsetEastEurope), 192, DEFAULT_CHARSET).Height, -26);
}

TEST(Win32Fonts, CacheMakesEachFontOnce) {
  win32_frontend::FontCache cache;
  FontRequest bold = RequestFor(DesignFont(9.75, true, wizard::kCharsetEastEurope), 96, DEFAULT_CHARSET);
  FontRequest plain = RequestFor(DesignFont(8.25, false, wizard::kCharsetAnsi), 96, DEFAULT_CHARSET);
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
