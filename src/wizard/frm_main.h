// frmMain: the wizard window's state, its step machine and the install run.
// It owns the control model that the front ends draw; they hand the
// player's clicks to Click and implement the Shell.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "discovery/game_folder.h"
#include "discovery/registry.h"
#include "game/script_registration.h"
#include "wizard/form_model.h"
#include "wizard/run_log.h"
#include "wizard/shell.h"

namespace wizard {

inline constexpr const char* kWindowCaption = "RIGBOX Extract (Vehiforge 0.96a)";
inline constexpr const char* kCloseTitle = "RIGBOX Extract";
// Texts the unattended removal shows as the window does.
inline constexpr int16_t kResRunError = 116;
inline constexpr int16_t kResNoGame = 10002;
inline constexpr int16_t kResInvalidId = 10004;
inline constexpr int16_t kResCopyUpdated = 125;
inline constexpr int16_t kResNotWritable = 127;
// A car in the game folder whose ID differs only in letter case.
inline constexpr int16_t kResOtherSpelling = 131;
// The warning after a run that left some game files without the car.
inline constexpr int16_t kResPartlyRegistered = 120;
// The questions the wizard asks; the unattended mode answers them by ID.
inline constexpr int16_t kResAreYouSure = 112;
inline constexpr int16_t kResReplaceQuestion = 117;
inline constexpr int16_t kResAskElevation = 126;
// The title of every error box, and the refusal a front end shows when the
// elevated program would not see the game folder's drive.
inline constexpr int16_t kResErrorTitle = 10000;
inline constexpr int16_t kResDriveHidden = 132;
// An installer whose package differs from the checksum it was made with.
inline constexpr int16_t kResDamaged = 133;
// What the invalid-ID message lists after "Valid characters:".
inline constexpr const char* kValidCharactersShown = "_0123456789ABCDEFGHIJKLMNOPQRSTUVWXY";

// The steps this program shows.
inline constexpr int16_t kStepGameFolder = 0;
inline constexpr int16_t kStepProgress = 4;
inline constexpr int16_t kStepReady = 6;
inline constexpr int16_t kStepSelectCar = 7;

// The navigation buttons, by their index in cmdNav.
inline constexpr int16_t kNavHelp = 0;
inline constexpr int16_t kNavCancel = 1;
inline constexpr int16_t kNavBack = 2;
inline constexpr int16_t kNavNext = 3;
inline constexpr int16_t kNavFinish = 4;

// The task this program performs: extracting a RIGBOX.
inline constexpr int32_t kTaskExtract = 4;

// How the last action that can stop the wizard ended; the unattended mode
// turns it into its exit status.
enum class Outcome {
  None,
  NotGameFolder,      // the folder does not hold the game
  PackageUnreadable,  // the appended package cannot be opened
  CarIdRefused,       // the car ID cannot name a folder under Data\Cars
  ReplaceDeclined,    // the car is present and the player kept it
  Ready,              // step 6 reached
  RunFailed,
  RunSucceeded,
  RunPartlyRegistered,  // installed, but a game script did not take its line
  FolderNotWritable,    // the player may not write the game folder
};

// The text stringId, an empty line, then one line per game file not
// changed: its name and why, in the player's language.
std::string FaultReport(int16_t stringId, const std::vector<game::FileFault>& faults);
// "File:" + fileName, a line end, then the package module's last failure,
// with a file held by another program said in the player's language.
std::string PackageErrorReport(const std::string& fileName);
// "Game folder: " + folder and where it came from, in brackets, or that
// none was found: what unattended runs say first, and logs hold.
std::string GameFolderText(const std::string& folder, const discovery::FolderOrigin& origin);
// The package's car ID, then each detail its installer carries, a line
// each; read after the package was opened.
std::string CarDetailsText();

// Members of a control array by index, bound once; At gives nullptr for an
// index without a member.
template <size_t N>
struct ControlArray {
  std::array<Control*, N> Members{};
  Control& operator[](int16_t index) const { return *Members[static_cast<size_t>(index)]; }
  Control* At(int16_t index) const {
    return index >= 0 && index < int{N} ? Members[static_cast<size_t>(index)] : nullptr;
  }
};

class frmMain : private game::ProgressSink {
 public:
  frmMain(Shell& shell, modRegistry::RegistryApi& registry);
  // The bound controls point into this form's own model.
  frmMain(const frmMain&) = delete;
  frmMain& operator=(const frmMain&) = delete;

  // Wizard state.
  int16_t Step = 0;
  int32_t Task = 0;
  std::string GameFolder;
  // Where GameFolder came from.
  discovery::FolderOrigin GameFolderOrigin;
  std::string CarID;
  std::string RIGBOX_FileName;
  // The running program's own file, which carries the package. Set from
  // the system at construction; tests point it at an installer they made.
  std::string ProgramPath;
  Outcome LastOutcome = Outcome::None;
  // --log: what the run does; writes nothing unless opened.
  RunLog Log;

  FormModel& Model() { return model_; }
  const FormModel& Model() const { return model_; }
  const std::vector<std::string>& InstalledCars() const { return installedCars_; }
  // True while the install run goes on: the window takes no input then.
  bool Running() const { return running_; }

  // Opens the log asked for, starting it with the program's version; when
  // it cannot be opened, says so. False then: the run must not start.
  bool StartLog(const std::optional<std::string>& path);

  // Events.
  void Form_Load();
  // The player clicked Controls[position]; for the list box, selectedRow is
  // the row now selected. Calls the control's handler, if it has one.
  void Click(int position, int selectedRow = -1);
  void cmdNav_Click(int16_t index);
  void btnBrowse_Click(int16_t index);
  // A game folder given on the command line (by the player, or by the
  // wizard started again as administrator) is shown as it stands: Next
  // says so when it does not hold the game, and never installs elsewhere.
  void OpenOnGameFolder(const std::string& folder);
  void lstCarList_Click();
  // Every request to close except Finish; cancel set to non-zero keeps the
  // window open.
  void Form_QueryUnload(int16_t& cancel, int16_t unloadMode);
  // The close box, the system menu or the Cancel button: asks, then ends
  // the program through the shell. True when the program is ending.
  bool RequestClose(int16_t unloadMode);

  // Step machine and run.
  void ShowStep(const int16_t& newStep);
  void NextStep();
  void PreviousStep();
  void RunOperation();
  // A notice without a string of its own (kMsgNotice), or with stringId.
  void ShowError(const std::string& message);
  void ShowError(int16_t stringId, const std::string& message);

  // Game integration over this window's state.
  bool CheckGameFolder(const std::string& folder);
  int16_t CheckCarID();
  // The car listed, or the folder under "Data\\Cars\\", whose name is
  // CarID in another letter case; "" when there is none.
  std::string OtherSpelling() const;
  bool LoadINI();
  // A file that could not be written joins the run's faults.
  bool WriteINI();
  bool UpdateGVCarsScript();
  bool UpdateGVPartsScript();
  bool UpdateGVTextsScript();
  bool UpdateGVIconsScript();

 private:
  // The controls the flow touches. The model's controls are all there once
  // it is built and never added to, so these stay valid.
  struct Controls {
    explicit Controls(FormModel& model);
    Control& lblTitle;
    Control& lblSubTitle;
    Control& lblGameFolder;
    Control& btnBrowse;
    Control& prgsAction;
    Control& lblAction;
    Control& lstCarList;
    ControlArray<kNavFinish + 1> cmdNav;
    ControlArray<kStepSelectCar + 1> fraStep;  // only the steps shown
  };

  void SetCaption(Control& control, const std::string& caption);
  void SetEnabled(Control& control, bool enabled);
  void SetVisible(Control& control, bool visible);
  void SetProgress(int32_t value);
  void SetAction(const std::string& text);
  void SetNavButtons(int16_t newStep);
  void ShowPackageError();
  void ShowScriptFaults();
  // A box with only OK, its title and text logged too.
  void Notify(int16_t stringId, const std::string& message, int16_t titleId, MsgIcon icon);
  bool NextOnGameFolderStep();
  void UseGameFolder(const std::string& folder, discovery::OriginKind kind);
  bool MayWriteGameFolder();

  // game::ProgressSink
  void AddProgress(int amount) override;
  void SetCreatingFile(const std::string& shownName) override;
  void ScriptFailed(const std::string& shownName, game::ScriptFault fault) override;
  void CopyUpdated(const std::string& path) override;
  void ScriptLine(const std::string& shownName, const std::string& line, bool added) override;

  Shell& shell_;
  modRegistry::RegistryApi& registry_;
  FormModel model_;
  Controls ui_;
  std::vector<std::string> installedCars_;
  std::vector<game::FileFault> scriptFaults_;  // of the last run
  bool running_ = false;
};

}  // namespace wizard
