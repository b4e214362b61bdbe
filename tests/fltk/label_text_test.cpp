#include "label_text.h"

#include <gtest/gtest.h>

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

TEST(FltkWidgetDump, FieldsEscapeTabsLineFeedsAndBackslashes) {
  EXPECT_EQ(DumpField("File:/x\nData\\Cars\tWybór"), "File:/x\\nData\\\\Cars\\tWybór");
}

}  // namespace
}  // namespace fltk_frontend
