// The wizard window's widgets as built from frmMain's model, checked
// without a display: positions against the model's pixel layout, and the
// texts the start-up applies.
#include "wizard_window.h"

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "fltk_shell.h"
#include "widget_dump.h"
#include "wizard/pixel_layout.h"
#include "wizard/string_table.h"
#include "wizard/wizard_fixture.h"

namespace fltk_frontend {
namespace {

struct Shown {
  int X = 0, Y = 0, W = 0, H = 0;
  bool Enabled = false;
  std::string Text;
};

// The widget lines of the dump, by "name(index)" ("name" outside arrays).
std::map<std::string, Shown> Widgets(const WizardWindow& window) {
  std::string text;
  window.Describe(text);
  std::map<std::string, Shown> widgets;
  std::istringstream lines(text);
  std::string line;
  while (std::getline(lines, line)) {
    std::vector<std::string> fields;
    std::istringstream split(line);
    std::string field;
    while (std::getline(split, field, '\t')) fields.push_back(field);
    if (fields.size() < 9 || fields[0] != "widget") continue;
    std::string key = fields[2] == "-" ? fields[1] : fields[1] + "(" + fields[2] + ")";
    Shown& shown = widgets[key];
    shown.X = std::stoi(fields[3]);
    shown.Y = std::stoi(fields[4]);
    shown.W = std::stoi(fields[5]);
    shown.H = std::stoi(fields[6]);
    shown.Enabled = fields[8] == "1";
    shown.Text = fields.size() > 9 ? fields[9] : "";
  }
  return widgets;
}

class FltkWizardWindow : public ::testing::Test {
 protected:
  void TearDown() override { wizard::SetLanguageForTesting(std::nullopt); }

  void Open(int dpi, std::optional<std::string> folder = std::nullopt) {
    window_.reset(), form_.reset(), shell_.reset();
    registry_.GameFolder = std::move(folder);
    shell_ = std::make_unique<FltkShell>(wizard::CurrentLanguage(), PixelScale(dpi), dump_);
    form_ = std::make_unique<wizard::frmMain>(*shell_, registry_);
    window_ = std::make_unique<WizardWindow>(*form_, PixelScale(dpi));
    shell_->Attach(*form_, *window_);
    form_->Form_Load();
  }

  WidgetDump dump_;
  wizard_testing::OneValueRegistry registry_;
  std::unique_ptr<FltkShell> shell_;
  std::unique_ptr<wizard::frmMain> form_;
  std::unique_ptr<WizardWindow> window_;
};

// The window at dpi: its size, and every control but the common dialog
// drawn where the model puts it.
void ExpectLayout(WizardWindow& window, const wizard::FormModel& model, int dpi) {
  wizard::PixelRect client = wizard::ClientArea(model, dpi);
  EXPECT_EQ(window.Window().w(), client.Width);
  EXPECT_EQ(window.Window().h(), client.Height);
  std::map<std::string, Shown> widgets = Widgets(window);
  for (size_t position = 0; position < model.Controls.size(); ++position) {
    const wizard::Control& control = model.Controls[position];
    std::string key = control.Name + (control.Index ? "(" + std::to_string(*control.Index) + ")" : "");
    auto found = widgets.find(key);
    if (control.Kind == wizard::ControlKind::CommonDialog) {
      EXPECT_EQ(found, widgets.end()) << key;
      continue;
    }
    ASSERT_NE(found, widgets.end()) << key;
    const Shown& shown = found->second;
    EXPECT_EQ((wizard::PixelRect{shown.X, shown.Y, shown.W, shown.H}),
              wizard::WindowBounds(model, static_cast<int>(position), dpi))
        << key;
  }
  EXPECT_EQ(widgets.size(), model.Controls.size() - 1);
}

TEST_F(FltkWizardWindow, EveryControlWhereTheModelPutsItAt96And192Dpi) {
  for (int dpi : {96, 192}) {
    Open(dpi);
    ExpectLayout(*window_, form_->Model(), dpi);
  }
}

TEST_F(FltkWizardWindow, StartUpTextsAndButtonStates) {
  wizard::SetLanguageForTesting(wizard::Language::English);
  Open(96);
  EXPECT_STREQ(window_->Window().label(), "RIGBOX Extract (Vehiforge 0.96a)");
  std::map<std::string, Shown> widgets = Widgets(*window_);
  EXPECT_EQ(widgets["fraGameFolder(0)"].Text, "Game's directory");
  EXPECT_EQ(widgets["lblGameFolder"].Text, "<Game not installed>");
  for (int i = 0; i < 5; ++i)
    EXPECT_EQ(widgets["cmdNav(" + std::to_string(i) + ")"].Enabled, i == 1 || i == 3) << i;
  // Borderless step frames show no title.
  EXPECT_EQ(widgets["fraStep(0)"].Text, "");
  EXPECT_EQ(widgets["prgsAction"].Text, "0/200");

  wizard::SetLanguageForTesting(wizard::Language::Polish);
  Open(96, std::string("/home/me@work/Gravelon/"));
  widgets = Widgets(*window_);
  EXPECT_EQ(widgets["cmdNav(4)"].Text, "Zakończ");
  // An at sign is no FLTK symbol here.
  EXPECT_EQ(widgets["lblGameFolder"].Text, "/home/me@work/Gravelon/");
}

}  // namespace
}  // namespace fltk_frontend
