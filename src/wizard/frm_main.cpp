#include "wizard/frm_main.h"

#include <algorithm>

#include "game/car_folder.h"
#include "game/car_id.h"
#include "game/installed_cars.h"
#include "package/rigbox.h"
#include "support/failure.h"
#include "support/platform.h"
#include "support/tools.h"
#include "wizard/form_texts.h"
#include "wizard/string_table.h"

namespace wizard {
namespace {

constexpr int16_t kResCreatingFile = 110;
constexpr int16_t kResSuccess = 111;
constexpr int16_t kResAreYouSure = 112;
constexpr int16_t kResExtracting = 115;
constexpr int16_t kResReplaceQuestion = 117;
constexpr int16_t kResWarning = 118;
constexpr int16_t kResPartlyRegistered = 120;
constexpr int16_t kResAskElevation = 126;
constexpr int16_t kResPickerTitle = 205;
constexpr int16_t kResErrorTitle = 10000;
constexpr int16_t kResNotInstalled = 10006;
// One text per ScriptFault, in its order.
constexpr int16_t kResScriptFaults[] = {10009, 10010, 10011, 10012, 10013, 10014};
constexpr int16_t kResInUse = kResScriptFaults[static_cast<int>(game::ScriptFault::InUse)];

constexpr int32_t kProgressPerRegistration = 10;

}  // namespace

std::string FaultReport(int16_t stringId, const std::vector<game::FileFault>& faults) {
  std::string text = LoadResString(stringId) + "\n";
  for (const game::FileFault& fault : faults)
    text += "\n" + fault.ShownName + ": " + LoadResString(kResScriptFaults[static_cast<int>(fault.Fault)]);
  return text;
}

frmMain::frmMain(Shell& shell, modRegistry::RegistryApi& registry)
    : ProgramPath(platform::ExecutablePath()),
      shell_(shell),
      registry_(registry),
      model_(BuildMainFormModel()) {}

Control& frmMain::Ctl(std::string_view name, std::optional<int16_t> index) {
  // The names are this window's own; a miss is a programming error that
  // the model tests catch.
  return *model_.Find(name, index);
}

Control& frmMain::Nav(int16_t index) { return Ctl("cmdNav", index); }

void frmMain::SetCaption(Control& control, const std::string& caption) {
  control.Caption = caption;
  shell_.ControlChanged(control);
}

void frmMain::SetEnabled(Control& control, bool enabled) {
  if (control.Enabled == enabled) return;
  control.Enabled = enabled;
  shell_.ControlChanged(control);
}

void frmMain::SetVisible(Control& control, bool visible) {
  control.Visible = visible;
  shell_.ControlChanged(control);
}

void frmMain::SetProgress(int32_t value) {
  Control& bar = Ctl("prgsAction");
  bar.Value = std::clamp(value, bar.Min, bar.Max);
  shell_.ControlChanged(bar);
}

void frmMain::Form_Load() {
  model_.Form.Caption = kWindowCaption;
  shell_.ControlChanged(model_.Form);
  Step = kStepGameFolder;
  Task = 0;
  ShowStep(kStepGameFolder);
  LoadFormTexts(model_);
  for (const Control& control : model_.Controls) shell_.ControlChanged(control);

  Control& label = Ctl("lblGameFolder");
  if (discovery::ReadGameFolder(registry_, GameFolder)) {
    SetCaption(label, GameFolder);
  } else {
    SetCaption(label, LoadResString(kResNotInstalled));
  }
}

void frmMain::SetNavButtons(int16_t newStep) {
  switch (newStep) {
    case kStepGameFolder:
      SetEnabled(Nav(kNavBack), false);
      SetEnabled(Nav(kNavNext), true);
      SetEnabled(Nav(kNavFinish), false);
      break;
    case kStepProgress:
      for (int16_t index : {kNavCancel, kNavBack, kNavNext, kNavFinish}) SetEnabled(Nav(index), false);
      break;
    case kStepSelectCar:
      SetEnabled(Nav(kNavBack), true);
      if (Ctl("lstCarList").ListIndex < 0) SetEnabled(Nav(kNavNext), false);
      SetEnabled(Nav(kNavFinish), false);
      break;
    default:
      SetEnabled(Nav(kNavBack), true);
      SetEnabled(Nav(kNavNext), true);
      SetEnabled(Nav(kNavFinish), false);
      break;
  }
}

void frmMain::ShowStep(const int16_t& newStep) {
  SetNavButtons(newStep);
  if (Control* current = model_.Find("fraStep", Step)) SetVisible(*current, false);
  if (Control* next = model_.Find("fraStep", newStep)) SetVisible(*next, true);
  Step = newStep;
  SetCaption(Ctl("lblTitle"), LoadResString(static_cast<int16_t>(newStep * 100 + 200)));
  SetCaption(Ctl("lblSubTitle"), LoadResString(static_cast<int16_t>(newStep * 100 + 201)));
}

void frmMain::cmdNav_Click(int16_t index) {
  // A disabled button takes no click, whatever the front end delivers.
  if (index < kNavHelp || index > kNavFinish || !Nav(index).Enabled || running_) return;
  switch (index) {
    case kNavCancel:
      RequestClose(0);
      break;
    case kNavBack:
      PreviousStep();
      break;
    case kNavNext:
      NextStep();
      if (Step == kStepProgress) RunOperation();
      break;
    case kNavFinish:
      shell_.EndProgram();
      break;
    default:
      break;
  }
}

void frmMain::Click(int position, int selectedRow) {
  if (position < 0 || static_cast<size_t>(position) >= model_.Controls.size()) return;
  Control& control = model_.Controls[static_cast<size_t>(position)];
  int16_t index = control.Index.value_or(0);
  if (control.Name == "cmdNav") {
    cmdNav_Click(index);
  } else if (control.Name == "btnBrowse") {
    btnBrowse_Click(index);
  } else if (control.Name == "lstCarList") {
    // The selection belongs to the list, as its own property would hold it.
    control.ListIndex = selectedRow;
    lstCarList_Click();
  }
}

void frmMain::lstCarList_Click() { SetEnabled(Nav(kNavNext), true); }

void frmMain::Form_QueryUnload(int16_t& cancel, int16_t /*unloadMode*/) {
  // The run takes no input, a close request included.
  if (running_) {
    cancel = 1;
    return;
  }
  MsgResult answer =
      shell_.MessageBox(LoadResString(kResAreYouSure), kCloseTitle, MsgButtons::YesNo, MsgIcon::Question);
  if (answer != MsgResult::Yes) cancel = 1;
}

bool frmMain::RequestClose(int16_t unloadMode) {
  int16_t cancel = 0;
  Form_QueryUnload(cancel, unloadMode);
  if (cancel != 0) return false;
  shell_.EndProgram();
  return true;
}

void frmMain::ShowError(const std::string& message) {
  shell_.MessageBox(message, LoadResString(kResErrorTitle), MsgButtons::OK, MsgIcon::Critical);
}

std::string PackageErrorReport(const std::string& fileName) {
  const support::Failure& failure = modRIGBOX::LastFailure;
  // The system's reasons are English; this one asks the player to act, so
  // it is said in the player's language.
  std::string text = failure.Kind == support::FailureKind::InUse
                         ? support::FailureText(failure, LoadResString(kResInUse))
                         : modRIGBOX::LastErrText;
  return "File:" + fileName + "\n" + text;
}

void frmMain::ShowPackageError() { ShowError(PackageErrorReport(RIGBOX_FileName)); }

bool frmMain::CheckGameFolder(const std::string& folder) {
  return modTools::FileExists(folder + discovery::kGameExecutable);
}

void frmMain::btnBrowse_Click(int16_t /*index*/) {
  std::string title = LoadResString(kResPickerTitle);
  std::string candidate = modTools::AddBackslash(shell_.BrowseForFolder(title));
  if (CheckGameFolder(candidate)) {
    GameFolder = candidate;
    LastOutcome = Outcome::None;
  } else if (candidate != "\\") {
    ShowError(LoadResString(kResNoGame));
    LastOutcome = Outcome::NotGameFolder;
  }
  SetCaption(Ctl("lblGameFolder"), GameFolder);
}

void frmMain::OpenOnGameFolder(const std::string& folder) {
  std::string candidate = modTools::AddBackslash(folder);
  if (!CheckGameFolder(candidate)) return;
  GameFolder = candidate;
  SetCaption(Ctl("lblGameFolder"), GameFolder);
}

// A game under Program Files refuses a standard user's files: found before
// anything is written, and where the system can lift it, offered.
bool frmMain::MayWriteGameFolder() {
  if (game::MayWriteCarsFolder(GameFolder)) return true;
  LastOutcome = Outcome::FolderNotWritable;
  if (!shell_.CanRestartElevated()) {
    ShowError(LoadResString(kResNotWritable));
  } else if (shell_.MessageBox(LoadResString(kResAskElevation), LoadResString(kResWarning), MsgButtons::YesNo,
                               MsgIcon::Question) == MsgResult::Yes &&
             shell_.RestartElevated(GameFolder)) {
    shell_.EndProgram();
  }
  return false;
}

bool frmMain::NextOnGameFolderStep() {
  if (!CheckGameFolder(GameFolder)) {
    ShowError(LoadResString(kResNoGame));
    LastOutcome = Outcome::NotGameFolder;
    return false;
  }
  if (!MayWriteGameFolder()) return false;
  LoadINI();
  Control& list = Ctl("lstCarList");
  list.ListItems = installedCars_;
  list.ListIndex = -1;
  shell_.ControlChanged(list);
  Task = kTaskExtract;
  // The package is read from the program's real file, so a renamed
  // installer (or one without an extension) still finds it.
  RIGBOX_FileName = ProgramPath;
  if (!modRIGBOX::CheckAppendedPackage(RIGBOX_FileName)) {
    ShowPackageError();
    LastOutcome = Outcome::PackageUnreadable;
    return false;
  }
  CarID = modRIGBOX::GetPackageCarID();
  // An ID that cannot name a folder under Data\Cars would send the files
  // elsewhere: refuse it before anything is written.
  if (!game::IsUsableFolderName(CarID)) {
    ShowError(LoadResString(kResInvalidId) + kValidCharactersShown);
    LastOutcome = Outcome::CarIdRefused;
    return false;
  }
  if (CheckCarID() != game::kCarIdNew) {
    MsgResult answer = shell_.MessageBox(LoadResString(kResReplaceQuestion), LoadResString(kResWarning),
                                         MsgButtons::OKCancel, MsgIcon::Question);
    if (answer != MsgResult::OK) {
      LastOutcome = Outcome::ReplaceDeclined;
      return false;
    }
  }
  return true;
}

void frmMain::NextStep() {
  switch (Step) {
    case kStepGameFolder:
      if (NextOnGameFolderStep()) {
        LastOutcome = Outcome::Ready;
        ShowStep(kStepReady);
      }
      break;
    case kStepReady:
      ShowStep(kStepProgress);
      break;
    default:
      break;
  }
}

void frmMain::PreviousStep() {
  if (Step == kStepReady) ShowStep(kStepGameFolder);
}

void frmMain::RunOperation() {
  running_ = true;
  Control& action = Ctl("lblAction");
  SetCaption(action, LoadResString(kResExtracting));
  const Control& bar = Ctl("prgsAction");
  SetProgress(bar.Max / 2);

  bool ok = modRIGBOX::OpenPackage(modRIGBOX::kModeAppended, RIGBOX_FileName, "", 0);
  if (ok) {
    std::string destination = GameFolder + "Data\\Cars\\" + CarID;
    modRIGBOX::SetBusyHook([](void* shell) { static_cast<Shell*>(shell)->KeepResponsive(); }, &shell_);
    ok = modRIGBOX::ExtractPackage(destination);
    modRIGBOX::SetBusyHook(nullptr, nullptr);
  }
  ok = modRIGBOX::ClosePackage() && ok;
  if (!ok) {
    running_ = false;
    ShowPackageError();
    SetCaption(action, LoadResString(kResRunError));
    SetEnabled(Nav(kNavFinish), true);
    LastOutcome = Outcome::RunFailed;
    return;
  }

  scriptFaults_.clear();
  int16_t verdict = CheckCarID();
  // A listed car that the player replaces gets back the lines a crash or a
  // game update took away; lines already there are not added again.
  if (verdict == game::kCarIdNew || verdict == game::kCarIdInstalled) {
    UpdateGVCarsScript();
    SetProgress(bar.Value + kProgressPerRegistration);
    UpdateGVPartsScript();
    SetProgress(bar.Value + kProgressPerRegistration);
    UpdateGVTextsScript();
    SetProgress(bar.Value + kProgressPerRegistration);
    UpdateGVIconsScript();
    if (verdict == game::kCarIdNew) installedCars_.push_back(CarID);
  }
  // An unwritten list is no success: the next run would not know the car.
  WriteINI();
  bool registered = scriptFaults_.empty();
  SetCaption(action, LoadResString(registered ? kResSuccess : kResPartlyRegistered));
  SetProgress(bar.Max);
  running_ = false;
  if (!registered) ShowScriptFaults();
  SetEnabled(Nav(kNavFinish), true);
  LastOutcome = registered ? Outcome::RunSucceeded : Outcome::RunPartlyRegistered;
}

// The car is installed and listed, but the game may not see it: say which
// game files did not take their lines, and why.
void frmMain::ShowScriptFaults() {
  shell_.MessageBox(FaultReport(kResPartlyRegistered, scriptFaults_), LoadResString(kResWarning),
                    MsgButtons::OK, MsgIcon::Exclamation);
}

int16_t frmMain::CheckCarID() { return game::CheckCarID(CarID, installedCars_); }

bool frmMain::LoadINI() { return game::LoadINI(GameFolder, installedCars_); }

bool frmMain::WriteINI() { return game::WriteINI(GameFolder, installedCars_, this); }

bool frmMain::UpdateGVCarsScript() { return game::UpdateGVCarsScript(GameFolder, CarID, *this); }

bool frmMain::UpdateGVPartsScript() { return game::UpdateGVPartsScript(GameFolder, CarID, *this); }

bool frmMain::UpdateGVTextsScript() { return game::UpdateGVTextsScript(GameFolder, CarID, *this); }

bool frmMain::UpdateGVIconsScript() { return game::UpdateGVIconsScript(GameFolder, CarID, *this); }

void frmMain::AddProgress(int amount) { SetProgress(Ctl("prgsAction").Value + amount); }

void frmMain::SetCreatingFile(const std::string& shownName) {
  SetCaption(Ctl("lblAction"), LoadResString(kResCreatingFile) + shownName);
}

void frmMain::ScriptFailed(const std::string& shownName, game::ScriptFault fault) {
  scriptFaults_.push_back({shownName, fault});
}

void frmMain::CopyUpdated(const std::string& path) {
  SetCaption(Ctl("lblAction"), LoadResString(kResCopyUpdated) + path);
}

}  // namespace wizard
