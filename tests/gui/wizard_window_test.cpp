// The wizard window's widgets as built from frmMain's model, checked
// without a display: positions against the designed layout, and the texts
// the start-up applies.
#include "wizard_window.h"

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "fltk_shell.h"
#include "widget_dump.h"
#include "wizard/string_table.h"

namespace fltk_frontend {
namespace {

// A registry holding the game folder value, or nothing.
class FakeRegistry : public modRegistry::RegistryApi {
 public:
  explicit FakeRegistry(std::optional<std::string> folder) : folder_(std::move(folder)) {}
  int32_t OpenKey(uint32_t, const std::string&, uint32_t, uint32_t, modRegistry::KeyHandle& key) override {
    if (!folder_) return modRegistry::kErrorFileNotFound;
    key = 1;
    return modRegistry::kErrorSuccess;
  }
  int32_t QueryValue(modRegistry::KeyHandle, const std::string&, uint32_t& type, uint8_t* data,
                     uint32_t& length) override {
    if (folder_->size() + 1 > length) return modRegistry::kErrorMoreData;
    std::copy(folder_->begin(), folder_->end(), data);
    data[folder_->size()] = 0;
    type = modRegistry::kRegSz;
    length = static_cast<uint32_t>(folder_->size() + 1);
    return modRegistry::kErrorSuccess;
  }
  int32_t CloseKey(modRegistry::KeyHandle) override { return modRegistry::kErrorSuccess; }

 private:
  std::optional<std::string> folder_;
};

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

  void Open(double factor, std::optional<std::string> folder = std::nullopt) {
    registry_ = std::make_unique<FakeRegistry>(std::move(folder));
    shell_ = std::make_unique<FltkShell>(wizard::CurrentLanguage(), PixelScale(factor), dump_);
    form_ = std::make_unique<wizard::frmMain>(*shell_, *registry_);
    window_ = std::make_unique<WizardWindow>(*form_, PixelScale(factor));
    shell_->Attach(*form_, *window_);
    form_->Form_Load();
  }

  WidgetDump dump_;
  std::unique_ptr<FakeRegistry> registry_;
  std::unique_ptr<FltkShell> shell_;
  std::unique_ptr<wizard::frmMain> form_;
  std::unique_ptr<WizardWindow> window_;
};

// The designed layout in twips, each control's corner in the window's
// client area (its containers' offsets added), then its size.
struct Designed {
  const char* Key;
  int Left, Top, Width, Height;
};

const Designed kLayout[] = {
    {"picTitle", -120, -120, 7335, 1095},
    {"lblTitle", -120 + 360, -120 + 240, 4815, 255},
    {"lblSubTitle", -120 + 600, -120 + 600, 4575, 255},
    {"imgGV", -120 + 5400, -120 + 120, 1650, 900},
    {"fraStep(0)", 120, 960, 6855, 3015},
    {"lblDescription(0)", 120 + 360, 960 + 240, 6255, 495},
    {"fraGameFolder(0)", 120 + 360, 960 + 2040, 6255, 735},
    {"lblGameFolder", 480 + 120, 3000 + 360, 4815, 255},
    {"btnBrowse(0)", 480 + 5040, 3000 + 240, 1092, 312},
    {"fraStep(4)", 120, 960, 6855, 3015},
    {"prgsAction", 120 + 360, 960 + 2280, 6255, 375},
    {"lblDescription(4)", 120 + 360, 960 + 240, 6255, 495},
    {"lblAction", 120 + 360, 960 + 1800, 6255, 255},
    {"fraStep(6)", 120, 960, 6855, 3015},
    {"lblInfo", 120 + 360, 960 + 1680, 6135, 1095},
    {"lblDescription(6)", 120 + 360, 960 + 240, 6255, 495},
    {"fraStep(7)", 120, 960, 6855, 3015},
    {"lstCarList", 120 + 1920, 960 + 720, 3375, 1815},
    {"lblDescription(7)", 120 + 360, 960 + 240, 6255, 495},
    {"picNav", 0, 4020, 7185, 570},
    {"cmdNav(0)", 120, 4020 + 120, 1092, 312},
    {"cmdNav(1)", 2280, 4020 + 120, 1092, 312},
    {"cmdNav(2)", 3480, 4020 + 120, 1092, 312},
    {"cmdNav(3)", 4560, 4020 + 120, 1092, 312},
    {"cmdNav(4)", 5880, 4020 + 120, 1092, 312},
};

int Rounded(double pixels) { return static_cast<int>(pixels < 0 ? pixels - 0.5 : pixels + 0.5); }

void ExpectLayout(const std::map<std::string, Shown>& widgets, double factor) {
  for (const Designed& designed : kLayout) {
    auto found = widgets.find(designed.Key);
    ASSERT_NE(found, widgets.end()) << designed.Key;
    const Shown& shown = found->second;
    EXPECT_EQ(shown.X, Rounded(designed.Left * factor / 15)) << designed.Key;
    EXPECT_EQ(shown.Y, Rounded(designed.Top * factor / 15)) << designed.Key;
    EXPECT_EQ(shown.W, Rounded(designed.Width * factor / 15)) << designed.Key;
    EXPECT_EQ(shown.H, Rounded(designed.Height * factor / 15)) << designed.Key;
  }
  // Nothing else is drawn but the two lines; the common dialog is not.
  EXPECT_EQ(widgets.size(), std::size(kLayout) + 2);
  EXPECT_EQ(widgets.count("dlgFile"), 0u);
}

TEST_F(FltkWizardWindow, EveryControlAtItsDesignedPlaceAt96Dpi) {
  Open(1.0);
  EXPECT_EQ(window_->Window().w(), 479);
  EXPECT_EQ(window_->Window().h(), 306);
  ExpectLayout(Widgets(*window_), 1.0);
}

TEST_F(FltkWizardWindow, EveryControlScaledOnADoubleDensityScreen) {
  Open(2.0);
  EXPECT_EQ(window_->Window().w(), 958);
  EXPECT_EQ(window_->Window().h(), 612);
  std::map<std::string, Shown> widgets = Widgets(*window_);
  ExpectLayout(widgets, 2.0);
  // The etched pair: two rows of grey right above two rows of white.
  EXPECT_EQ(widgets["Line1(1)"].H, 2);
  EXPECT_EQ(widgets["Line1(2)"].Y, widgets["Line1(1)"].Y + 2);
}

TEST_F(FltkWizardWindow, EtchedSeparatorIsAGreyRowAboveAWhiteOne) {
  Open(1.0);
  std::map<std::string, Shown> widgets = Widgets(*window_);
  const Shown& grey = widgets["Line1(1)"];
  const Shown& white = widgets["Line1(2)"];
  // From 108 to 7012 twips across, at 4020 and 4044 twips down.
  EXPECT_EQ(grey.X, 7);
  EXPECT_EQ(grey.W, 460);
  EXPECT_EQ(grey.Y, 268);
  EXPECT_EQ(grey.H, 1);
  EXPECT_EQ(white.X, 7);
  EXPECT_EQ(white.W, 460);
  EXPECT_EQ(white.Y, 269);
  EXPECT_EQ(white.H, 1);
}

TEST_F(FltkWizardWindow, StartUpTextsAndButtonStatesInEnglish) {
  wizard::SetLanguageForTesting(wizard::Language::English);
  Open(1.0);
  std::map<std::string, Shown> widgets = Widgets(*window_);
  EXPECT_EQ(widgets["lblTitle"].Text, "Select game's directory");
  EXPECT_EQ(widgets["lblSubTitle"].Text, "Please select the directory where Gravelon is installed.");
  EXPECT_EQ(widgets["fraGameFolder(0)"].Text, "Game's directory");
  EXPECT_EQ(widgets["btnBrowse(0)"].Text, "Change...");
  EXPECT_EQ(widgets["lblGameFolder"].Text, "<Game not installed>");
  EXPECT_EQ(widgets["lblInfo"].Text.substr(0, 9), "WARNING! ");
  const char* captions[] = {"Help", "Cancel", "< Back", "Next >", "Finish"};
  const bool enabled[] = {false, true, false, true, false};
  for (int i = 0; i < 5; ++i) {
    const Shown& button = widgets["cmdNav(" + std::to_string(i) + ")"];
    EXPECT_EQ(button.Text, captions[i]);
    EXPECT_EQ(button.Enabled, enabled[i]) << captions[i];
  }
  // Borderless step frames show no title.
  EXPECT_EQ(widgets["fraStep(0)"].Text, "");
  EXPECT_EQ(widgets["prgsAction"].Text, "0/200");
}

TEST_F(FltkWizardWindow, StartUpTextsInPolish) {
  wizard::SetLanguageForTesting(wizard::Language::Polish);
  Open(1.0);
  std::map<std::string, Shown> widgets = Widgets(*window_);
  EXPECT_EQ(widgets["lblTitle"].Text, "Wybór katalogu z grą");
  EXPECT_EQ(widgets["btnBrowse(0)"].Text, "Zmień...");
  EXPECT_EQ(widgets["cmdNav(4)"].Text, "Zakończ");
  EXPECT_EQ(widgets["lblGameFolder"].Text, "<Gra nie jest zainstalowana>");
}

TEST_F(FltkWizardWindow, FolderWithAnAtSignIsShownAsItStands) {
  Open(1.0, std::string("/home/me@work/Gravelon/"));
  EXPECT_EQ(Widgets(*window_)["lblGameFolder"].Text, "/home/me@work/Gravelon/");
}

TEST_F(FltkWizardWindow, CaptionComesFromTheModel) {
  Open(1.0);
  EXPECT_STREQ(window_->Window().label(), "RIGBOX Extract (Vehiforge 0.96a)");
}

}  // namespace
}  // namespace fltk_frontend
