#include <gtest/gtest.h>

#include "fonts.h"

namespace {

using win32_frontend::FontRequest, win32_frontend::RequestFor, win32_frontend::TextCharset;

TEST(Win32Fonts, DesignFaceAtTheDpiAndAnsiBecomesTheTextsCharset) {
  EXPECT_EQ(
      RequestFor(wizard::Font{"MS Sans Serif", 8.25, false, wizard::kCharsetAnsi}, 96, EASTEUROPE_CHARSET),
      (FontRequest{L"MS Sans Serif", -11, FW_NORMAL, EASTEUROPE_CHARSET}));
  // The bold title keeps its Central European set.
  EXPECT_EQ(RequestFor(wizard::Font{"Tahoma", 9.75, true, wizard::kCharsetEastEurope}, 192, DEFAULT_CHARSET),
            (FontRequest{L"Tahoma", -26, FW_BOLD, EASTEUROPE_CHARSET}));
  EXPECT_EQ(TextCharset(wizard::Language::Polish), EASTEUROPE_CHARSET);
  // English text asks for the system's own set, whatever its code page.
  EXPECT_EQ(TextCharset(wizard::Language::English), DEFAULT_CHARSET);
}

TEST(Win32Fonts, CacheMakesEachFontOnce) {
  win32_frontend::FontCache cache;
  FontRequest bold{L"MS Sans Serif", -13, FW_BOLD, EASTEUROPE_CHARSET};
  HFONT first = cache.Get(bold);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(cache.Get(bold), first);
  EXPECT_NE(cache.Get(FontRequest{L"MS Sans Serif", -11, FW_NORMAL, DEFAULT_CHARSET}), first);
  LOGFONTW made{};
  ASSERT_NE(GetObjectW(first, sizeof made, &made), 0);
  EXPECT_EQ((FontRequest{made.lfFaceName, made.lfHeight, static_cast<int>(made.lfWeight), made.lfCharSet}),
            bold);
}

}  // namespace
