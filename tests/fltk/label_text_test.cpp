#include "label_text.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "widget_dump.h"

namespace fltk_frontend {
namespace {

TEST(FltkLabelText, AtSignsAreDoubledAndShownSingle) {
  const struct {
    const char* Text;
    const char* Label;
  } cases[] = {{"/home/me@work/", "/home/me@@work/"}, {"@@x@", "@@@@x@@"}, {"Zakończ", "Zakończ"}};
  for (const auto& c : cases) {
    EXPECT_EQ(LabelText(c.Text), c.Label);
    EXPECT_EQ(ShownText(c.Label), c.Text);
  }
}

TEST(FltkLabelText, ChooserFoldersLoseTheirTrailingSlashesButTheRoot) {
  EXPECT_EQ(FolderFromChooser("/home/me//"), "/home/me");
  EXPECT_EQ(FolderFromChooser("/"), "/");
}

// One unit per character, so a split character would count and show.
int Characters(std::string_view text) {
  return static_cast<int>(std::count_if(text.begin(), text.end(), [](char c) { return (c & 0xC0) != 0x80; }));
}

TEST(FltkLabelText, LongPathsLoseTheirMiddleWholeCharactersAtATime) {
  const struct {
    const char* Path;
    int Width;
    const char* Shown;
  } cases[] = {
      {"/home/me/Gravelon/", 18, "/home/me/Gravelon/"},  // fits exactly: unchanged
      {"/home/player/.var/app/Steam/Gravelon/", 24, "/home/playe.../Gravelon/"},
      {"Z:\\Games\\Steam\\Gravelon\\", 20, "Z:\\Game...\\Gravelon\\"},
      {"/home/żółć/ąę/Gra/", 16, "/home/żó.../Gra/"},
      {"/aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaab/", 12, "/aaaa...aab/"},  // a last name too long: both ends
      {"/źźźźźźźźźźźźźźźźź/", 9, "/źź...źź/"},
      {"/home/x/", 2, "..."},
  };
  for (const auto& c : cases) EXPECT_EQ(ShortenedPath(c.Path, c.Width, Characters), c.Shown) << c.Path;
}

TEST(FltkWidgetDump, FieldsEscapeTabsLineFeedsAndBackslashes) {
  EXPECT_EQ(DumpField("File:/x\nData\\Cars\tWybór"), "File:/x\\nData\\\\Cars\\tWybór");
}

}  // namespace
}  // namespace fltk_frontend
