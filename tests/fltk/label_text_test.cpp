#include "label_text.h"

#include <gtest/gtest.h>

#include "widget_dump.h"

namespace fltk_frontend {
namespace {

TEST(FltkLabelText, AtSignsAreDoubledAndShownSingle) {
  const struct {
    const char* Text;
    const char* Label;
  } cases[] = {
      {"", ""},    {"Next >", "Next >"}, {"/home/me@work/Gravelon/", "/home/me@@work/Gravelon/"},
      {"@", "@@"}, {"@@x@", "@@@@x@@"},  {"Zakończ", "Zakończ"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(LabelText(c.Text), c.Label);
    EXPECT_EQ(ShownText(c.Label), c.Text);
  }
}

TEST(FltkLabelText, ChooserFoldersLoseTheirTrailingSlash) {
  EXPECT_EQ(FolderFromChooser("/home/me/Gravelon/"), "/home/me/Gravelon");
  EXPECT_EQ(FolderFromChooser("/home/me/Gravelon"), "/home/me/Gravelon");
  EXPECT_EQ(FolderFromChooser("/home/me//"), "/home/me");
  EXPECT_EQ(FolderFromChooser("/"), "/");  // the root keeps it
  EXPECT_EQ(FolderFromChooser(""), "");
}

TEST(FltkWidgetDump, FieldsEscapeTabsLineFeedsAndBackslashes) {
  EXPECT_EQ(DumpField("File:/x/installer\nNo RIGBOX File!"), "File:/x/installer\\nNo RIGBOX File!");
  EXPECT_EQ(DumpField("a\tb"), "a\\tb");
  EXPECT_EQ(DumpField("Data\\Profiles\\"), "Data\\\\Profiles\\\\");
  EXPECT_EQ(DumpField("Wybór"), "Wybór");
}

}  // namespace
}  // namespace fltk_frontend
