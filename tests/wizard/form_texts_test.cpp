#include <gtest/gtest.h>

#include <tuple>

#include "wizard/form_model.h"
#include "wizard/form_texts.h"
#include "wizard/string_table.h"

namespace {

using wizard::Control, wizard::ControlKind, wizard::FormModel, wizard::Language;

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

  // Loads the texts onto a form holding only control (or being it), and returns it.
  static Control Loaded(const Control& control) {
    FormModel form;
    Control& loaded = control.Kind == ControlKind::Form ? form.Form : form.Controls.emplace_back();
    loaded = control;
    wizard::LoadFormTexts(form);
    return loaded;
  }
};

TEST_F(WizardLoadFormTexts, CaptionAndToolTipByTheirIds) {
  // Kind, Tag and ToolTipText; the Caption and ToolTipText after loading.
  const std::tuple<ControlKind, const char*, const char*, const char*, const char*> cases[] = {
      // The Tag as a number, a fraction rounded.
      {ControlKind::Label, "203", "", "Game's directory", ""},
      {ControlKind::Label, "203.5", "", "Change...", ""},
      // Not numeric: nothing to load, and no error, so the tool tip loads.
      {ControlKind::Label, "abc", "204", "design", "Change..."},
      // Out of 16 bits, missing from the table or a kind without a caption:
      // the failure stays pending and the tool tip is not loaded.
      {ControlKind::Label, "40000", "204", "design", "204"},
      {ControlKind::Label, "150", "204", "design", "204"},
      {ControlKind::ListBox, "203", "204", "design", "204"},
      // A numeric tool tip on its own.
      {ControlKind::Label, "", " 101 ", "design", "Cancel"},
      {ControlKind::Label, "203", "150", "Game's directory", "150"},
      // A line (or a dialog) has no ToolTipText: whatever the field holds stays.
      {ControlKind::Line, "", "204", "design", "204"},
      // The form's caption by its Tag.
      {ControlKind::Form, "112", "", "Are you sure?", ""},
      {ControlKind::Form, "150", "", "design", ""},
  };
  for (const auto& [kind, tag, toolTip, caption, toolTipAfter] : cases) {
    Control control = Loaded(MakeControl(kind, tag, toolTip));
    std::string context = control.Name + " Tag \"" + tag + "\" ToolTipText \"" + toolTip + '"';
    EXPECT_EQ(control.Caption, caption) << context;
    EXPECT_EQ(control.ToolTipText, toolTipAfter) << context;
  }
}

// Kinds this window does not have, one case each: where each keeps its IDs.
// A menu in its caption; each tab starts without a pending error, and the
// strip's own texts are not the loader's business.
TEST_F(WizardLoadFormTexts, OtherKindsKeepTheirIdsElsewhere) {
  Control menu = MakeControl(ControlKind::Menu, "");
  menu.Caption = " 101 ";
  EXPECT_EQ(Loaded(menu).Caption, "Cancel");

  Control strip = MakeControl(ControlKind::TabStrip, "103", "104");
  strip.Items = {{"150", "tab1", "101", ""}, {"203", "tab2", "102", ""}};
  Control loaded = Loaded(strip);
  EXPECT_EQ(loaded.Items[0].Caption + "|" + loaded.Items[0].ToolTipText, "tab1|101");
  EXPECT_EQ(loaded.Items[1].Caption + "|" + loaded.Items[1].ToolTipText, "Game's directory|< Back");
  EXPECT_EQ(loaded.ToolTipText, "104");

  Control toolbar = MakeControl(ControlKind::Toolbar, "203");
  toolbar.Items = {{"103", "button1", "", ""}};
  Control view = MakeControl(ControlKind::ListView, "203");
  view.Items = {{"100", "", "", "col1"}};
  EXPECT_EQ(Loaded(toolbar).Items[0].ToolTipText, "Next >");
  EXPECT_EQ(Loaded(view).Items[0].Text, "Help");
}

}  // namespace
