#include "wizard/frm_main.h"

#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/mount.h>
#endif

#include <algorithm>
#include <filesystem>

#include "common/temp_dir.h"
#include "game/car_id.h"
#include "package/rigbox.h"
#include "support/platform.h"
#include "wizard/string_table.h"
#include "wizard/unattended.h"
#include "wizard/wizard_fixture.h"

namespace fs = std::filesystem;
using namespace testing_support;
using wizard::MsgButtons, wizard::MsgIcon, wizard::MsgResult;
using wizard_testing::MakeGameFolder, wizard_testing::MakeInstaller, wizard_testing::SampleCar;

namespace {

class WizardFlow : public ::testing::Test {
 protected:
  void SetUp() override {
    wizard::SetLanguageForTesting(wizard::Language::English);
    game = dir.Path() / "Gravelon";
    MakeGameFolder(game);
    installer = dir.Path() / "installer.bin";
    MakeInstaller(installer, "DMO", SampleCar("DMO"));
    registry.SetGameFolder(GameFolderText());
  }
  void TearDown() override { wizard::SetLanguageForTesting(std::nullopt); }

  // The folder as the registry records it: with the system's separator.
  std::string GameFolderText() const { return game.string() + platform::kPreferredSeparator; }

  wizard::frmMain& Start() {
    form = std::make_unique<wizard::frmMain>(shell, registry);
    form->ProgramPath = installer.string();
    form->Form_Load();
    // Only what the wizard does after start-up counts.
    shell.ProgressValues.clear();
    return *form;
  }

  // The step, the step frames shown, Cancel/Back/Next/Finish enabled as
  // "1010" and the title, for compact expectations.
  std::string State() const {
    std::string state = "step " + std::to_string(form->Step) + " shows";
    for (const wizard::Control& control : form->Model().Controls)
      if (control.Name == "fraStep" && control.Visible) state += " " + std::to_string(*control.Index);
    state += " buttons ";
    for (int16_t index = wizard::kNavCancel; index <= wizard::kNavFinish; ++index)
      state += form->Model().Find("cmdNav", index)->Enabled ? '1' : '0';
    return state + " " + Caption("lblTitle");
  }
  std::string Caption(std::string_view name) const { return form->Model().Find(name)->Caption; }
  void Next(int times = 1) {
    for (int i = 0; i < times; ++i) form->cmdNav_Click(wizard::kNavNext);
  }
  // The last of count message boxes: string ID, text, title, buttons, icon.
  void ExpectBox(size_t count, int16_t id, const std::string& text, const std::string& title,
                 MsgButtons buttons, MsgIcon icon) const {
    ASSERT_EQ(shell.Messages.size(), count);
    const wizard_testing::ShownMessage& shown = shell.Messages.back();
    EXPECT_EQ(shown.Id, id);
    EXPECT_EQ(shown.Text, text);
    EXPECT_EQ(shown.Title, title);
    EXPECT_EQ(shown.Buttons, buttons);
    EXPECT_EQ(shown.Icon, icon);
  }
  std::string CarFile(const std::string& relative) const {
    return ReadFile(game / "Data/Cars/DMO" / relative);
  }

  TempDir dir;
  fs::path game;
  fs::path installer;
  wizard_testing::ScriptedShell shell;
  testing_support::MapRegistry registry;
  std::unique_ptr<wizard::frmMain> form;
};

const char kCarsScrBefore[] = "!include(\"BMX\\\\Cars.scr\")\r\n\r\n";
const char kIniWithDmo[] = "[Cars]\r\nCarsCount=1\r\nCarID1=DMO\r\n";

TEST_F(WizardFlow, StartShowsTheGameFolderStep) {
  EXPECT_EQ(Start().Model().Form.Caption, "RIGBOX Extract (Vehiforge 0.96a)");
  EXPECT_EQ(Caption("lblGameFolder"), GameFolderText());
  EXPECT_EQ(State(), "step 0 shows 0 buttons 1010 Select game's directory");
  EXPECT_TRUE(shell.ActionTexts.empty());
}

TEST_F(WizardFlow, DisabledButtonsTakeNoClicks) {
  wizard::frmMain& wizard = Start();
  // Disabled, or no button at all.
  for (int16_t disabled : {wizard::kNavBack, wizard::kNavFinish, wizard::kNavHelp, int16_t{-1}, int16_t{5}})
    wizard.cmdNav_Click(disabled);
  EXPECT_EQ(State(), "step 0 shows 0 buttons 1010 Select game's directory");
  EXPECT_EQ(shell.EndCount, 0);
  EXPECT_TRUE(shell.Messages.empty());
}

TEST_F(WizardFlow, MissingRegistryValueLeavesTheFolderEmpty) {
  registry.Keys.clear();
  EXPECT_EQ(Start().GameFolder, "");
  EXPECT_EQ(Caption("lblGameFolder"), "<Game not installed>");
  // A cancelled picker then shows the (empty) folder.
  form->btnBrowse_Click(0);
  EXPECT_EQ(shell.PickerTitles, std::vector<std::string>{"Select Gravelon directory"});
  EXPECT_EQ(Caption("lblGameFolder"), "");
}

// A folder from the command line is the player's choice even without the
// game: never swapped for the one the game recorded.
TEST_F(WizardFlow, CommandLineFolderWithoutTheGameStaysAndFailsAtNext) {
  wizard::frmMain& wizard = Start();
  wizard.OpenOnGameFolder(dir.Path().string());
  std::string chosen = wizard.GameFolder;
  EXPECT_EQ(chosen.rfind(dir.Path().string(), 0), 0u);
  EXPECT_EQ(Caption("lblGameFolder"), chosen);
  Next();
  ASSERT_EQ(shell.Messages.size(), 1u);
  EXPECT_EQ(shell.Messages[0].Id, wizard::kResNoGame);
  EXPECT_EQ(wizard.GameFolder, chosen);
  EXPECT_EQ(wizard.Step, wizard::kStepGameFolder);
}

// The registry's folder is taken as it stands. A folder without the game
// keeps the known one; the right one is taken with a separator.
TEST_F(WizardFlow, FolderWithoutSeparatorFailsAtNextUntilPicked) {
  registry.SetGameFolder(game.string());
  wizard::frmMain& wizard = Start();
  Next();
  ExpectBox(1, wizard::kResNoGame, "The selected directory does not contain Gravelon!", "Error",
            MsgButtons::OK, MsgIcon::Critical);
  EXPECT_EQ(wizard.Step, wizard::kStepGameFolder);
  shell.PickedFolders = {dir.Path().string(), game.string()};
  wizard.btnBrowse_Click(0);
  EXPECT_EQ(shell.Messages.size(), 2u);
  EXPECT_EQ(wizard.GameFolder, game.string());
  EXPECT_EQ(Caption("lblGameFolder"), game.string());
  wizard.btnBrowse_Click(0);
  EXPECT_EQ(wizard.GameFolder, GameFolderText());
  Next();
  EXPECT_EQ(wizard.Step, wizard::kStepReady);
}

TEST_F(WizardFlow, NewCarInstallsWithProgressAndStatus) {
  std::vector<wizard_testing::CarFile> files = SampleCar("DMO");
  files.push_back({"Textures", "huge.dds", std::string(3 << 20, 'h')});
  MakeInstaller(installer, "DMO", files);
  double stored = 0;
  for (const wizard_testing::CarFile& file : files) stored += static_cast<double>(file.Bytes.size());
  // Each value the extraction shows, with the car's bytes on the disk then.
  std::vector<std::pair<int32_t, double>> extracting;
  shell.OnChange = [&](const wizard::Control& control) {
    if (control.Name != "prgsAction" || control.Value <= 100 || control.Value > 165) return;
    double written = 0;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(game / "Data/Cars/DMO"))
      if (entry.is_regular_file() && entry.path().stem() != "rigbox-install-record")
        written += static_cast<double>(entry.file_size());
    extracting.emplace_back(control.Value, written);
  };
  wizard::frmMain& wizard = Start();
  Next();
  EXPECT_EQ(wizard.Task, wizard::kTaskExtract);
  EXPECT_EQ(wizard.CarID, "DMO");
  EXPECT_EQ(State(), "step 6 shows 6 buttons 1110 Ready");
  EXPECT_EQ(Caption("lblSubTitle"), "The Wizard is ready to complete the operation");

  Next();
  EXPECT_EQ(State(), "step 4 shows 4 buttons 0001 Operation in progress");
  EXPECT_EQ(
      shell.ActionTexts,
      (std::vector<std::string>{"Extracting RIGBOX...", "Creating file:Data\\Cars\\Cars.scr",
                                "Creating file:Data\\Cars\\Parts.scr", "Creating file:Data\\Cars\\Texts.scr",
                                "Creating file:Data\\Cars\\Icons.scr", "Successfully completed"}));
  // Half at once; the extraction's share up to 165 as the bytes are written,
  // a step for each piece of the large file; each registration's own +1
  // and +10 after the first three; full at the end.
  const std::vector<int32_t>& values = shell.ProgressValues;
  ASSERT_GE(values.size(), size_t{22});
  EXPECT_EQ(values.front(), 100);
  EXPECT_TRUE(std::is_sorted(values.begin(), values.end()));
  EXPECT_EQ(std::vector<int32_t>(values.end() - 9, values.end()),
            (std::vector<int32_t>{165, 166, 176, 177, 187, 188, 198, 199, 200}));
  EXPECT_GE(extracting.size(), size_t{12});
  for (auto [value, written] : extracting) EXPECT_NEAR(value, 100 + written / stored * 65, 1) << written;

  EXPECT_EQ(ReadFile(game / "Vehiforge.ini"), kIniWithDmo);
  wizard.cmdNav_Click(wizard::kNavFinish);
  EXPECT_EQ(shell.EndCount, 1);
  EXPECT_TRUE(shell.Messages.empty());

  // One call per piece read, so a multi-megabyte file gives several.
  EXPECT_EQ(CarFile("Textures/huge.dds").size(), size_t{3} << 20);
  EXPECT_GE(shell.KeepResponsiveCount, 12);
}

// A checked installer fills the bar's first half as it checks its package;
// one with a byte changed is refused before anything is written.
TEST_F(WizardFlow, InstallerIsCheckedWholeBeforeItWrites) {
  std::vector<wizard_testing::CarFile> files = SampleCar("DMO");
  files.push_back({"Textures", "huge.dds", std::string(20 << 20, 'h')});
  MakeInstaller(installer, "DMO", files, true);
  Start();
  Next(2);
  const std::vector<int32_t>& values = shell.ProgressValues;
  auto half = std::find(values.begin(), values.end(), 100);
  EXPECT_GE(half - values.begin(), 2);
  EXPECT_TRUE(std::is_sorted(values.begin(), half));
  EXPECT_EQ(form->LastOutcome, wizard::Outcome::RunSucceeded);
}

TEST_F(WizardFlow, DamagedInstallerIsRefusedBeforeItWrites) {
  MakeInstaller(installer, "DMO", SampleCar("DMO"), true);
  std::string bytes = ReadFile(installer);
  bytes[bytes.size() - 1000] ^= 1;
  WriteFile(installer, bytes);
  wizard::frmMain& wizard = Start();
  Next(2);
  ExpectBox(1, wizard::kMsgNotice,
            "File:" + installer.string() +
                "\nThis installer is damaged: its files differ from those the car's author packed. Download "
                "it again.",
            "Error", MsgButtons::OK, MsgIcon::Critical);
  EXPECT_EQ(wizard.LastOutcome, wizard::Outcome::PackageUnreadable);
  EXPECT_FALSE(fs::exists(game / "Data/Cars/DMO"));
}

// Back keeps the task. A car installed meanwhile by another installer is
// seen at the next Next, which asks; after Cancel it asks again, from a list
// loaded afresh (not doubled). The files are replaced, and the lines a game
// update took away come back, without a second list entry.
TEST_F(WizardFlow, PresentCarAsksAndReplacingRepairsItsLines) {
  wizard::frmMain& wizard = Start();
  Next();
  wizard.cmdNav_Click(wizard::kNavBack);
  EXPECT_EQ(State(), "step 0 shows 0 buttons 1010 Select game's directory");
  EXPECT_EQ(wizard.Task, wizard::kTaskExtract);
  const char ini[] = "[Cars]\r\nCarsCount=2\r\nCarID1=ABC\r\nCarID2=DMO\r\n";
  WriteFile(game / "Vehiforge.ini", ini);
  WriteFile(game / "Data/Cars/DMO/Cars.scr", "an older and much longer version of the car script\r\n");
  shell.Answers = {MsgResult::Cancel, MsgResult::OK};
  Next();
  ExpectBox(1, wizard::kResReplaceQuestion, "A car with this ID already exists. Do you want to replace it?",
            "Warning", MsgButtons::OKCancel, MsgIcon::Question);
  EXPECT_EQ(wizard.Step, wizard::kStepGameFolder);
  EXPECT_EQ(wizard.Model().Find("lstCarList")->ListItems, (std::vector<std::string>{"ABC", "DMO"}));
  Next();
  EXPECT_EQ(shell.Messages.size(), 2u);
  EXPECT_EQ(wizard.Step, wizard::kStepReady);
  EXPECT_EQ(wizard.InstalledCars(), (std::vector<std::string>{"ABC", "DMO"}));

  Next();
  EXPECT_EQ(CarFile("Cars.scr"), "// car DMO\r\n");
  EXPECT_EQ(ReadFile(game / "Data/Cars/Cars.scr"),
            kCarsScrBefore + std::string("!include(\"DMO\\\\Cars.scr\")\r\n\r\n"));
  EXPECT_EQ(wizard.LastOutcome, wizard::Outcome::RunSucceeded);
  EXPECT_EQ(ReadFile(game / "Vehiforge.ini"), ini);
}

// A file where a folder of the car belongs: the package's own error, with
// the installer's name. The close box still asks after the run.
TEST_F(WizardFlow, FailedRunKeepsTheBarAndOffersOnlyFinish) {
  WriteFile(game / "Data/Cars/DMO/Textures", "in the way");
  wizard::frmMain& wizard = Start();
  Next(2);
  EXPECT_FALSE(modRIGBOX::LastErrText.empty());
  ExpectBox(1, wizard::kMsgNotice, "File:" + installer.string() + "\n" + modRIGBOX::LastErrText, "Error",
            MsgButtons::OK, MsgIcon::Critical);
  EXPECT_EQ(Caption("lblAction"), "Error!");
  EXPECT_EQ(wizard.Model().Find("prgsAction")->Value, 100);
  EXPECT_EQ(State(), "step 4 shows 4 buttons 0001 Operation in progress");
  EXPECT_EQ(wizard.LastOutcome, wizard::Outcome::RunFailed);
  EXPECT_FALSE(fs::exists(game / "Vehiforge.ini"));

  shell.Answers = {MsgResult::Yes};
  EXPECT_TRUE(wizard.RequestClose(0));
  EXPECT_EQ(shell.EndCount, 1);
}

// Not even the record, which comes first, can be written where a file
// takes the car's folder: that file is named.
TEST_F(WizardFlow, RecordThatCannotBeWrittenFailsTheRun) {
  WriteFile(game / "Data/Cars/DMO", "in the way");
  wizard::frmMain& wizard = Start();
  Next(2);
  ExpectBox(1, wizard::kMsgNotice,
            "Error!\n\nData\\Cars\\DMO\\rigbox-install-record.txt: the file cannot be replaced", "Error",
            MsgButtons::OK, MsgIcon::Critical);
  EXPECT_EQ(wizard.LastOutcome, wizard::Outcome::RunFailed);
}

// What could be written was, and the car is listed as after a success.
TEST_F(WizardFlow, ScriptsThatFailAreListedInsteadOfSuccess) {
  fs::remove(game / "Data/Cars/Parts.scr");
  fs::remove(game / "Data/Menu/uidef/Textures.def");
  fs::remove(game / "Data/Cars/Texts.scr");
  fs::create_directory(game / "Data/Cars/Texts.scr");  // cannot be opened for appending
  wizard::frmMain& wizard = Start();
  Next(2);
  EXPECT_EQ(shell.ActionTexts,
            (std::vector<std::string>{"Extracting RIGBOX...", "Creating file:Data\\Cars\\Cars.scr",
                                      "Installed, but some game files could not be updated"}));
  ExpectBox(1, wizard::kResPartlyRegistered,
            "Installed, but some game files could not be updated\n\n"
            "Data\\Cars\\Parts.scr: the file is missing\n"
            "Data\\Cars\\Texts.scr: the file cannot be opened for appending\n"
            "Data\\Menu\\uidef\\Textures.def: the file is missing",
            "Warning", MsgButtons::OK, MsgIcon::Exclamation);
  EXPECT_EQ(wizard.LastOutcome, wizard::Outcome::RunPartlyRegistered);
  EXPECT_EQ(wizard::WindowExitStatus(wizard), wizard::kExitPartlyRegistered);
  EXPECT_EQ(State(), "step 4 shows 4 buttons 0001 Operation in progress");
  EXPECT_EQ(ReadFile(game / "Data/Cars/Cars.scr"),
            kCarsScrBefore + std::string("!include(\"DMO\\\\Cars.scr\")\r\n\r\n"));
  EXPECT_EQ(ReadFile(game / "Vehiforge.ini"), kIniWithDmo);
}

// No package appended, or a car ID that cannot name a folder: refused
// before anything is written.
TEST_F(WizardFlow, UnusablePackageIsRefusedAtTheFirstStep) {
  const std::string invalid =
      "Invalid car's ID. The ID should consist of at least 3 characters.\r\nValid "
      "characters:  _0123456789ABCDEFGHIJKLMNOPQRSTUVWXY";
  // No package, IDs that name no folder of their own or break the game's
  // rule (Z is not valid), and one of the game's own cars.
  for (const std::string carId : {"", "../", ". .", "Z12", "BMX"}) {
    SCOPED_TRACE(carId);
    if (carId.empty())
      WriteFile(installer, "just a program, nothing appended");
    else
      MakeInstaller(installer, carId, SampleCar("X"));
    shell.Messages.clear();
    wizard::frmMain& wizard = Start();
    Next();
    bool reserved = carId == "BMX";
    ExpectBox(1,
              carId.empty() ? wizard::kMsgNotice
              : reserved    ? game::kCarIdReserved
                            : wizard::kResInvalidId,
              carId.empty() ? "File:" + installer.string() + "\n" + modRIGBOX::LastErrText
              : reserved    ? "ID reserved."
                            : invalid,
              "Error", MsgButtons::OK, MsgIcon::Critical);
    EXPECT_EQ(wizard.Step, wizard::kStepGameFolder);
    EXPECT_EQ(wizard.LastOutcome,
              carId.empty() ? wizard::Outcome::PackageUnreadable : wizard::Outcome::CarIdRefused);
  }
  EXPECT_EQ(std::distance(fs::recursive_directory_iterator(game / "Data/Cars"), {}), 4);
}

// During the run a close request is ignored without a question.
TEST_F(WizardFlow, CloseAsksUnlessFinishOrRunning) {
  wizard::frmMain& wizard = Start();
  shell.Answers = {MsgResult::No};
  wizard.cmdNav_Click(wizard::kNavCancel);
  ExpectBox(1, wizard::kResAreYouSure, "Are you sure?", "RIGBOX Extract", MsgButtons::YesNo,
            MsgIcon::Question);
  EXPECT_EQ(shell.EndCount, 0);

  Next();
  // The window closed now would have installed nothing.
  EXPECT_EQ(wizard::WindowExitStatus(wizard), wizard::kExitClosedWithoutInstalling);
  bool closedDuringRun = true;
  shell.OnChange = [&](const wizard::Control& control) {
    if (control.Name == "lblAction" && control.Caption == "Extracting RIGBOX...") {
      closedDuringRun = wizard.RequestClose(0);
      wizard.cmdNav_Click(wizard::kNavFinish);
    }
  };
  Next();
  EXPECT_FALSE(closedDuringRun);
  EXPECT_EQ(shell.Messages.size(), 1u);
  EXPECT_EQ(shell.EndCount, 0);
  EXPECT_EQ(Caption("lblAction"), "Successfully completed");
  EXPECT_EQ(wizard::WindowExitStatus(wizard), wizard::kExitSuccess);
}

// The window's log: where the folder came from, what the run wrote and how
// it ended. One that cannot be opened, or only through a link, is refused.
TEST_F(WizardFlow, LogsTheRunAsItGoes) {
  wizard::frmMain& wizard = Start();
  std::string missing = (dir.Path() / "missing" / "log.txt").string();
  EXPECT_FALSE(wizard.StartLog(missing));
  ExpectBox(1, 142, "The log file cannot be written: " + missing, "Error", MsgButtons::OK, MsgIcon::Critical);
#ifndef _WIN32
  fs::create_symlink(dir.Path() / "aside.txt", dir.Path() / "link.txt");
  EXPECT_FALSE(wizard.StartLog((dir.Path() / "link.txt").string()));
  EXPECT_FALSE(fs::exists(dir.Path() / "aside.txt"));
#endif
  fs::path log = dir.Path() / "log.txt";
  WriteFile(log, "an older run's log, longer than this one's will be" + std::string(5000, '.'));
  ASSERT_TRUE(wizard.StartLog(log.string()));
  shell.PickedFolders = {game.string()};
  wizard.btnBrowse_Click(0);
  Next(2);
  EXPECT_EQ(wizard::WindowExitStatus(wizard), wizard::kExitSuccess);
  std::string text = ReadFile(log);
  EXPECT_TRUE(text.starts_with("RIGBOX Extract ") && text.ends_with("\nExit status 0\n")) << text;
  for (const std::string& line :
       {"\nGame folder: " + GameFolderText() + " (chosen in the window)\nCar ID:  DMO\n",
        std::string("\nWritten: Data\\Cars\\DMO\\Textures\\body.txt (5000 bytes)\n"),
        std::string("\nLine added to Data\\Cars\\Cars.scr: !include(\"DMO\\\\Cars.scr\")\n"),
        std::string("\nVehiforge.ini written with DMO, added\nSuccessfully completed\n")})
    EXPECT_NE(text.find(line), std::string::npos) << line << " not in:\n" << text;
}

// The front ends hand over a click as the control's position in the model.
TEST_F(WizardFlow, ClicksReachTheClickedControlsHandler) {
  wizard::frmMain& wizard = Start();
  const wizard::FormModel& model = wizard.Model();
  for (int nowhere : {-1, model.IndexOf("lblTitle"), static_cast<int>(model.Controls.size())})
    wizard.Click(nowhere);
  EXPECT_TRUE(shell.PickerTitles.empty());
  wizard.Click(model.IndexOf("btnBrowse", 0));
  EXPECT_EQ(shell.PickerTitles.size(), 1u);

  int list = model.IndexOf("lstCarList");
  wizard.ShowStep(wizard::kStepSelectCar);
  EXPECT_EQ(State(), "step 7 shows 7 buttons 1100 Selecting a car");
  wizard.Click(list, 0);
  EXPECT_EQ(model.Controls[static_cast<size_t>(list)].ListIndex, 0);
  EXPECT_EQ(State(), "step 7 shows 7 buttons 1110 Selecting a car");
  wizard.ShowStep(wizard::kStepSelectCar);  // the first row is a choice too
  EXPECT_EQ(State(), "step 7 shows 7 buttons 1110 Selecting a car");

  wizard.ShowStep(wizard::kStepGameFolder);
  wizard.Click(model.IndexOf("cmdNav", wizard::kNavNext));
  EXPECT_EQ(wizard.Step, wizard::kStepReady);
}

// A package held by another program is the one reason the player can act
// on, so it is said in the player's language after the file's context.
TEST(WizardPackageError, FileInUseIsToldInThePlayersLanguage) {
  modRIGBOX::LastFailure =
      support::MakeFailure(support::FailureKind::InUse, platform::kErrFileInUse, "Cannot open");
  modRIGBOX::LastFailure.File = "car";
  wizard::SetLanguageForTesting(wizard::Language::Polish);
  std::string report = wizard::PackageErrorReport("setup.exe");
  wizard::SetLanguageForTesting(std::nullopt);
  EXPECT_EQ(report,
            "File:setup.exe\nCannot open \"car\": plik jest używany przez inny program, na przykład grę: "
            "zamknij go i spróbuj ponownie");
}

#ifndef _WIN32
// A game folder the player may not write: found at the first step, before
// anything is written. A read-only mount stands in for the rights a root
// user cannot lack.
TEST_F(WizardFlow, UnwritableFolderOffersAStartAsAdministratorOrIsReportedUntilWritable) {
  fs::path cars = game / "Data/Cars";
  if (mount("tmpfs", cars.c_str(), "tmpfs", MS_RDONLY, "size=16k") != 0)
    GTEST_SKIP() << "cannot mount a tmpfs";
  wizard::frmMain& wizard = Start();
  const std::string log = (dir.Path() / "log.txt").string();
  ASSERT_TRUE(wizard.StartLog(log));
  // Where the system can lift it: No stays, Yes starts again on the same
  // folder and log and ends this program, unless the player declines the
  // system's own question; the log goes on only in the program that stays.
  shell.MayElevate = true;
  shell.Answers = {MsgResult::No, MsgResult::Yes, MsgResult::Yes};
  for (bool starts : {true, false, true}) {
    shell.RestartStarts = starts;
    Next();
  }
  EXPECT_EQ(shell.Messages.back().Id, wizard::kResAskElevation);
  EXPECT_EQ(shell.ElevatedRestarts, std::vector<std::string>(2, GameFolderText() + " log=" + log));
  EXPECT_EQ(shell.EndCount, 1);
  const std::string text = ReadFile(log), restart = "Restarting as administrator\n";
  EXPECT_TRUE(text.ends_with(restart) && text.find(restart) < text.size() - restart.size()) << text;
  // Where it cannot: said, as an error.
  shell.MayElevate = false;
  Next();
  EXPECT_EQ(shell.Messages.back().Text, wizard::LoadResString(wizard::kResNotWritable));
  EXPECT_EQ(wizard.Step, wizard::kStepGameFolder);
  // Writable again: on to the next step, and the probe is gone.
  umount(cars.c_str());
  Next();
  EXPECT_EQ(wizard.Step, wizard::kStepReady);
  EXPECT_FALSE(fs::exists(cars / "rigbox-probe.tmp"));
}
#endif

}  // namespace
