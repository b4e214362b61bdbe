#include <gtest/gtest.h>

#include "wizard/form_model.h"
#include "wizard/form_texts.h"
#include "wizard/string_table.h"

namespace {

using wizard::Control;
using wizard::ControlKind;
using wizard::FormModel;
using wizard::Language;

Control MakeControl(ControlKind kind, const std::string& tag, const std::string& toolTip = "") {
  Control control;
  control.Name = "ctl" + std::string(wizard::TypeName(kind));
  control.Kind = kind;
  control.Tag = tag;
  control.Caption = "design";
  control.ToolTipText = toolTip;
  return control;
}

class WizardLoadFormTexts : public ::testing::Test {
 protected:
  void SetUp() override { wizard::SetLanguageForTesting(Language::English); }
  void TearDown() override { wizard::SetLanguageForTesting(std::nullopt); }

  // Loads the texts onto a form holding only control, and returns it.
  static Control Loaded(const Control& control) {
    FormModel form;
    form.Controls.push_back(control);
    wizard::LoadFormTexts(form);
    return form.Controls[0];
  }
};

TEST_F(WizardLoadFormTexts, CaptionAndToolTipByTheirIds) {
  const struct {
    const char* Tag;
    const char* ToolTip;
    const char* Caption;
    const char* ToolTipAfter;
  } cases[] = {
      // The Tag: blanks, fractions (halves to even) and other number forms.
      {"203", "", "Game's directory", ""},
      {"202.5", "",
       "If the directory is correct please click Next. To change the directory click Change and choose "
       "another.",
       ""},
      {"203.5", "", "Change...", ""},
      // Not numeric: nothing to load, and no error, so the tool tip loads.
      {"abc", "204", "design", "Change..."},
      // Out of 16 bits or missing from the table: the failure stays pending
      // and the tool tip is not loaded.
      {"40000", "204", "design", "204"},
      {"150", "204", "design", "204"},
      // A numeric tool tip on its own.
      {"", " 101 ", "design", "Cancel"},
      {"203", "101", "Game's directory", "Cancel"},
      {"203", "150", "Game's directory", "150"},
  };
  for (const auto& c : cases) {
    Control control = Loaded(MakeControl(ControlKind::Label, c.Tag, c.ToolTip));
    EXPECT_EQ(control.Caption, c.Caption) << "Tag \"" << c.Tag << "\" ToolTipText \"" << c.ToolTip << '"';
    EXPECT_EQ(control.ToolTipText, c.ToolTipAfter)
        << "Tag \"" << c.Tag << "\" ToolTipText \"" << c.ToolTip << '"';
  }
}

TEST_F(WizardLoadFormTexts, NumericTagWithoutCaptionKeepsTextAndSkipsToolTip) {
  for (ControlKind kind : {ControlKind::ListBox, ControlKind::ProgressBar}) {
    Control control = Loaded(MakeControl(kind, "203", "204"));
    EXPECT_EQ(control.Caption, "design") << wizard::TypeName(kind);
    EXPECT_EQ(control.ToolTipText, "204") << wizard::TypeName(kind);
  }
  // Without a numeric Tag nothing fails, and the tool tip loads.
  Control list = Loaded(MakeControl(ControlKind::ListBox, "", "204"));
  EXPECT_EQ(list.ToolTipText, "Change...");
}

TEST_F(WizardLoadFormTexts, KindsWithoutToolTipProperty) {
  // A line or a dialog has no ToolTipText: whatever the field holds stays.
  for (ControlKind kind : {ControlKind::Line, ControlKind::CommonDialog}) {
    Control control = Loaded(MakeControl(kind, "", "204"));
    EXPECT_EQ(control.ToolTipText, "204") << wizard::TypeName(kind);
    EXPECT_EQ(control.Caption, "design") << wizard::TypeName(kind);
  }
}

TEST_F(WizardLoadFormTexts, TheWalkGoesOnAfterEveryFailure) {
  FormModel form;
  const char* tags[] = {"40000", "100", "150", "101", "abc", "102", "", "103"};
  for (const char* tag : tags) form.Controls.push_back(MakeControl(ControlKind::CommandButton, tag));
  form.Controls.insert(form.Controls.begin() + 2, MakeControl(ControlKind::ListBox, "203", "204"));
  wizard::LoadFormTexts(form);
  std::vector<std::string> captions;
  for (const Control& c : form.Controls) captions.push_back(c.Caption);
  EXPECT_EQ(captions, (std::vector<std::string>{"design", "Help", "design", "design", "Cancel", "design",
                                                "< Back", "design", "Next >"}));
}

TEST_F(WizardLoadFormTexts, TheFormCaptionByItsTag) {
  FormModel form;
  form.Form.Kind = ControlKind::Form;
  form.Form.Caption = "RIGBOX Extract (Vehiforge 0.96a)";
  form.Form.Tag = "112";
  wizard::LoadFormTexts(form);
  EXPECT_EQ(form.Form.Caption, "Are you sure?");

  for (const char* tag : {"abc", "150"}) {
    form.Form.Caption = "RIGBOX Extract (Vehiforge 0.96a)";
    form.Form.Tag = tag;
    wizard::LoadFormTexts(form);
    EXPECT_EQ(form.Form.Caption, "RIGBOX Extract (Vehiforge 0.96a)") << tag;
  }
}

// Kinds this window does not have, one case each: where each keeps its IDs.
TEST_F(WizardLoadFormTexts, MenuCarriesItsIdInItsCaption) {
  Control menu = MakeControl(ControlKind::Menu, "");
  menu.Caption = " 101 ";
  EXPECT_EQ(Loaded(menu).Caption, "Cancel");
}

TEST_F(WizardLoadFormTexts, TabStripTabsEachStartWithoutAPendingError) {
  Control strip = MakeControl(ControlKind::TabStrip, "103", "104");
  strip.Items = {{"150", "tab1", "101", ""}, {"203", "tab2", "102", ""}};
  Control loaded = Loaded(strip);
  EXPECT_EQ(loaded.Items[0].Caption + "|" + loaded.Items[0].ToolTipText, "tab1|101");
  EXPECT_EQ(loaded.Items[1].Caption + "|" + loaded.Items[1].ToolTipText, "Game's directory|< Back");
  EXPECT_EQ(loaded.ToolTipText, "104");  // the strip's own are not the loader's business
}

TEST_F(WizardLoadFormTexts, ToolbarButtonsAndListViewHeaders) {
  Control toolbar = MakeControl(ControlKind::Toolbar, "203");
  toolbar.Items = {{"103", "button1", "", ""}};
  Control view = MakeControl(ControlKind::ListView, "203");
  view.Items = {{"100", "", "", "col1"}};
  EXPECT_EQ(Loaded(toolbar).Items[0].ToolTipText, "Next >");
  EXPECT_EQ(Loaded(view).Items[0].Text, "Help");
}

TEST_F(WizardLoadFormTexts, LanguageOfTheLookup) {
  wizard::SetLanguageForTesting(Language::Polish);
  EXPECT_EQ(Loaded(MakeControl(ControlKind::Label, "11000")).Caption, "----------------------");
  EXPECT_EQ(Loaded(MakeControl(ControlKind::Label, "104")).Caption,
            "Zako\xC5\x84"
            "cz");
}

}  // namespace
