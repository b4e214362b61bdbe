#include <gtest/gtest.h>

#include <map>

#include "wizard/form_model.h"
#include "wizard/form_texts.h"
#include "wizard/string_table.h"

namespace {

using wizard::CollectionItem;
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
      {" 203 ", "", "Game's directory", ""},
      {"203.4", "", "Game's directory", ""},
      {"202.5", "",
       "If the directory is correct please click Next. To change the directory click Change and choose "
       "another.",
       ""},
      {"203.5", "", "Change...", ""},
      {"&HCB", "", "Game's directory", ""},
      {"2.03E2", "", "Game's directory", ""},
      // Not numeric: nothing to load, and no error, so the tool tip loads.
      {"abc", "204", "design", "Change..."},
      {"", "204", "design", "Change..."},
      {"", "", "design", ""},
      // Out of 16 bits or missing from the table: the failure stays pending
      // and the tool tip is not loaded.
      {"40000", "204", "design", "204"},
      {"-40000", "204", "design", "204"},
      {"150", "204", "design", "204"},
      {"11000", "204", "design", "204"},  // Polish only
      // A numeric tool tip on its own.
      {"", " 101 ", "design", "Cancel"},
      {"203", "101", "Game's directory", "Cancel"},
      {"203", "40000", "Game's directory", "40000"},
      {"203", "150", "Game's directory", "150"},
      {"203", "text", "Game's directory", "text"},
  };
  for (const auto& c : cases) {
    Control control = Loaded(MakeControl(ControlKind::Label, c.Tag, c.ToolTip));
    EXPECT_EQ(control.Caption, c.Caption) << "Tag \"" << c.Tag << "\" ToolTipText \"" << c.ToolTip << '"';
    EXPECT_EQ(control.ToolTipText, c.ToolTipAfter)
        << "Tag \"" << c.Tag << "\" ToolTipText \"" << c.ToolTip << '"';
  }
}

TEST_F(WizardLoadFormTexts, NumericTagWithoutCaptionKeepsTextAndSkipsToolTip) {
  for (ControlKind kind :
       {ControlKind::ListBox, ControlKind::PictureBox, ControlKind::Image, ControlKind::ProgressBar}) {
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

  for (const char* tag : {"", "abc", "40000", "150"}) {
    form.Form.Caption = "RIGBOX Extract (Vehiforge 0.96a)";
    form.Form.Tag = tag;
    wizard::LoadFormTexts(form);
    EXPECT_EQ(form.Form.Caption, "RIGBOX Extract (Vehiforge 0.96a)") << tag;
  }
}

TEST_F(WizardLoadFormTexts, MenuCarriesItsIdInItsCaption) {
  const struct {
    const char* Caption;
    const char* Tag;
    const char* After;
  } cases[] = {
      {"101", "", "Cancel"}, {" 101.2 ", "", "Cancel"}, {"abc", "101", "abc"},
      {"150", "", "150"},    {"40000", "", "40000"},    {"", "101", ""},
  };
  for (const auto& c : cases) {
    Control menu = MakeControl(ControlKind::Menu, c.Tag);
    menu.Caption = c.Caption;
    EXPECT_EQ(Loaded(menu).Caption, c.After) << c.Caption;
  }
}

TEST_F(WizardLoadFormTexts, TabStripTabs) {
  Control strip = MakeControl(ControlKind::TabStrip, "103", "104");
  strip.Items = {
      {"100", "tab1", "101", ""},    // both load
      {"150", "tab2", "101", ""},    // missing ID: the tab's tool tip is skipped
      {"", "tab3", "102", ""},       // tool tip alone
      {"40000", "tab4", "101", ""},  // overflow: skipped as well
      {"abc", "tab5", "abc", ""},    // nothing numeric
      {"203", "tab6", "", ""},       // caption alone, after failing tabs
  };
  Control loaded = Loaded(strip);
  std::vector<std::pair<std::string, std::string>> tabs;
  for (const CollectionItem& tab : loaded.Items) tabs.emplace_back(tab.Caption, tab.ToolTipText);
  EXPECT_EQ(tabs, (std::vector<std::pair<std::string, std::string>>{{"Help", "Cancel"},
                                                                    {"tab2", "101"},
                                                                    {"tab3", "< Back"},
                                                                    {"tab4", "101"},
                                                                    {"tab5", "abc"},
                                                                    {"Game's directory", ""}}));
  // The strip's own Tag and tool tip are not the loader's business.
  EXPECT_EQ(loaded.ToolTipText, "104");
}

TEST_F(WizardLoadFormTexts, ToolbarButtonsGetToolTipsFromTheirTags) {
  Control toolbar = MakeControl(ControlKind::Toolbar, "203");
  toolbar.Items = {
      {"103", "button1", "", ""},
      {"150", "button2", "old", ""},
      {"x", "button3", "old", ""},
      {"104", "button4", "old", ""},
  };
  Control loaded = Loaded(toolbar);
  std::vector<std::pair<std::string, std::string>> buttons;
  for (const CollectionItem& button : loaded.Items) buttons.emplace_back(button.Caption, button.ToolTipText);
  EXPECT_EQ(buttons,
            (std::vector<std::pair<std::string, std::string>>{
                {"button1", "Next >"}, {"button2", "old"}, {"button3", "old"}, {"button4", "Finish"}}));
  EXPECT_EQ(loaded.ToolTipText, "");
}

TEST_F(WizardLoadFormTexts, ListViewColumnHeadersGetText) {
  Control view = MakeControl(ControlKind::ListView, "203");
  view.Items = {{"203", "", "", "col1"}, {"40000", "", "", "col2"}, {"100", "", "", "col3"}};
  Control loaded = Loaded(view);
  EXPECT_EQ(loaded.Items[0].Text, "Game's directory");
  EXPECT_EQ(loaded.Items[1].Text, "col2");
  EXPECT_EQ(loaded.Items[2].Text, "Help");
  EXPECT_EQ(loaded.Items[0].Caption, "");
}

TEST_F(WizardLoadFormTexts, LanguageOfTheLookup) {
  wizard::SetLanguageForTesting(Language::Polish);
  EXPECT_EQ(Loaded(MakeControl(ControlKind::Label, "11000")).Caption, "----------------------");
  EXPECT_EQ(Loaded(MakeControl(ControlKind::Label, "104")).Caption,
            "Zako\xC5\x84"
            "cz");
}

using Texts = std::map<std::pair<std::string, std::optional<int16_t>>, std::string>;

// Captions of the window after loading: every control with a Tag, and the
// design captions of the rest.
void ExpectWindowTexts(const Texts& tagged) {
  FormModel designed = wizard::BuildMainFormModel();
  FormModel form = wizard::BuildMainFormModel();
  form.Form.Caption = "RIGBOX Extract (Vehiforge 0.96a)";
  wizard::LoadFormTexts(form);

  EXPECT_EQ(form.Form.Caption, "RIGBOX Extract (Vehiforge 0.96a)");
  size_t loaded = 0;
  for (size_t i = 0; i < form.Controls.size(); ++i) {
    const Control& c = form.Controls[i];
    SCOPED_TRACE(c.Name + (c.Index ? "(" + std::to_string(*c.Index) + ")" : ""));
    auto expected = tagged.find({c.Name, c.Index});
    if (expected != tagged.end()) {
      EXPECT_EQ(c.Caption, expected->second);
      ++loaded;
    } else {
      EXPECT_EQ(c.Caption, designed.Controls[i].Caption);
    }
    EXPECT_EQ(c.ToolTipText, "");
  }
  EXPECT_EQ(loaded, tagged.size());
}

TEST_F(WizardLoadFormTexts, TheWizardWindowInEnglish) {
  ExpectWindowTexts({
      {{"cmdNav", 0}, "Help"},
      {{"cmdNav", 1}, "Cancel"},
      {{"cmdNav", 2}, "< Back"},
      {{"cmdNav", 3}, "Next >"},
      {{"cmdNav", 4}, "Finish"},
      {{"lblTitle", std::nullopt}, "Select game's directory"},
      {{"lblSubTitle", std::nullopt}, "Please select the directory where Gravelon is installed."},
      {{"lblDescription", 0},
       "If the directory is correct please click Next. To change the directory click Change and choose "
       "another."},
      {{"fraGameFolder", 0}, "Game's directory"},
      {{"btnBrowse", 0}, "Change..."},
      {{"lblDescription", 4}, "When the operation is finished click Finish."},
      {{"lblDescription", 6}, "Click Next to continue."},
      {{"lblInfo", std::nullopt},
       "WARNING! Before completing the operation you should backup your existing profiles "
       "(Data\\Profiles\\). "
       "They may not work correctly. After finishing the operation a new profile should be created."},
      {{"lblDescription", 7}, "Choose a car from the below list and click Next"},
  });
}

TEST_F(WizardLoadFormTexts, TheWizardWindowInPolish) {
  wizard::SetLanguageForTesting(Language::Polish);
  ExpectWindowTexts({
      {{"cmdNav", 0}, "Pomoc"},
      {{"cmdNav", 1}, "Anuluj"},
      {{"cmdNav", 2}, "< Cofnij"},
      {{"cmdNav", 3}, "Dalej >"},
      {{"cmdNav", 4}, "Zakończ"},
      {{"lblTitle", std::nullopt}, "Wybór katalogu z grą"},
      {{"lblSubTitle", std::nullopt}, "Wskaż katalog  w którym znajduje się gra Gravelon."},
      {{"lblDescription", 0},
       "Jeżeli podany katalog jest prawidłowy kliknij Dalej. Aby zmienić katalog kliknij Zmień i wybierz "
       "inny."},
      {{"fraGameFolder", 0}, "Katalog gry"},
      {{"btnBrowse", 0}, "Zmień..."},
      {{"lblDescription", 4}, "Gdy operacja zostanie zakończona kliknij Zakończ"},
      {{"lblDescription", 6}, "Aby kontynuować kliknij Dalej."},
      {{"lblInfo", std::nullopt},
       "UWAGA! Przed zakończeniem operacji należy stworzyć kopie zapasowe istniejących profili "
       "(Data\\Profiles\\). "
       "Mogą one nie działać poprawnie. Po zakończeniu operacji należy stworzyć nowy profil."},
      {{"lblDescription", 7}, "Wybierz samochód z poniższej listy i kliknij Dalej."},
  });
}

}  // namespace
