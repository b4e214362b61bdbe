#include "wizard/frm_main.h"

#include <algorithm>
#include <cstdlib>

#include "game/car_folder.h"
#include "game/car_id.h"
#include "game/car_removal.h"
#include "game/install_record.h"
#include "game/installed_cars.h"
#include "package/rigbox.h"
#include "support/ascii_case.h"
#include "support/failure.h"
#include "support/platform.h"
#include "support/text_format.h"
#include "support/tools.h"
#include "support/version.h"
#include "wizard/form_texts.h"
#include "wizard/string_table.h"
#include "wizard/uninstall_entry.h"

namespace wizard {

using namespace std::string_view_literals;

namespace {

constexpr int16_t kResCreatingFile = 110;
constexpr int16_t kResSuccess = 111;
constexpr int16_t kResExtracting = 115;
constexpr int16_t kResWarning = 118;
constexpr int16_t kResNoUninstallEntry = 171;
constexpr int16_t kResPickerTitle = 205;
constexpr int16_t kResNotInstalled = 10006;
// One text per ScriptFault, in its order.
constexpr int16_t kResScriptFaults[] = {10009, 10010, 10011, 10012, 10013, 10014, 10015, 10016, 10017};
constexpr int16_t kResInUse = kResScriptFaults[static_cast<int>(game::ScriptFault::InUse)];
constexpr int16_t kResGameFolderIs = 134;
constexpr int16_t kResNoneFound = 135;
// By discovery::OriginKind, from CommandLine on; the registry's twice, for
// Windows' own and for a Wine prefix's.
constexpr int16_t kResOrigins[] = {136, 137, 139, 143};
constexpr int16_t kResPrefixRegistry = 138;
constexpr int16_t kResFoundThrough = 141;
constexpr int16_t kResNoLog = 142;

constexpr int32_t kProgressPerRegistration = 10;
// The four registrations' own steps and the three between them, which
// follow the extraction's share of the bar; the last step, to full, is the
// end's.
constexpr int32_t kProgressForRegistrations = 4 + 3 * kProgressPerRegistration + 1;
// The window is repainted at least this often while files are written,
// whether or not the bar moved: a slow disk is not a hang.
constexpr int64_t kRepaintMilliseconds = 100;

Control& Bind(FormModel& model, std::string_view name, std::optional<int16_t> index = std::nullopt) {
  // The names are this window's own: a miss is a programming error, and
  // stops the program here rather than at some later click.
  Control* control = model.Find(name, index);
  if (control == nullptr) std::abort();
  return *control;
}

}  // namespace

std::string FaultReport(int16_t stringId, const std::vector<game::FileFault>& faults) {
  std::string text = LoadResString(stringId) + "\n";
  for (const game::FileFault& fault : faults)
    text += "\n" + fault.ShownName + ": " + LoadResString(kResScriptFaults[static_cast<int>(fault.Fault)]);
  return text;
}

std::string GameFolderText(const std::string& folder, const discovery::FolderOrigin& origin) {
  using discovery::OriginKind;
  std::string text = LoadResString(kResGameFolderIs);
  if (origin.Kind == OriginKind::None) return text + LoadResString(kResNoneFound);
  bool prefix = origin.Kind == OriginKind::Registry && !origin.Text.empty();
  int16_t where = prefix ? kResPrefixRegistry : kResOrigins[static_cast<int>(origin.Kind) - 1];
  std::string launcher = origin.Launcher.empty() ? "" : LoadResString(kResFoundThrough) + origin.Launcher;
  return text + folder + " (" + LoadResString(where) + origin.Text + launcher + ")";
}

std::string CarDetailsText() {
  std::string text = "Car ID:  " + modRIGBOX::GetPackageCarID();
  const modRIGBOX::InstallerRecord& record = modRIGBOX::PackageRecord;
  const std::pair<const char*, const std::string*> details[] = {
      {"\nName:    ", &record.Name}, {"\nVersion: ", &record.Version}, {"\nAuthor:  ", &record.Author}};
  for (const auto& [label, value] : details)
    if (!value->empty()) text += label + *value;
  return text;
}

frmMain::frmMain(Shell& shell, modRegistry::RegistryApi& registry)
    : ProgramPath(platform::ExecutablePath()),
      shell_(shell),
      registry_(registry),
      model_(BuildMainFormModel()),
      ui_(model_) {}

frmMain::Controls::Controls(FormModel& model)
    : lblTitle(Bind(model, "lblTitle")),
      lblSubTitle(Bind(model, "lblSubTitle")),
      lblGameFolder(Bind(model, "lblGameFolder")),
      btnBrowse(Bind(model, "btnBrowse", 0)),
      prgsAction(Bind(model, "prgsAction")),
      lblAction(Bind(model, "lblAction")),
      lstCarList(Bind(model, "lstCarList")) {
  for (int16_t index = kNavHelp; index <= kNavFinish; ++index)
    cmdNav.Members[static_cast<size_t>(index)] = &Bind(model, "cmdNav", index);
  for (int16_t step : {kStepGameFolder, kStepProgress, kStepReady, kStepSelectCar})
    fraStep.Members[static_cast<size_t>(step)] = &Bind(model, "fraStep", step);
}

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
  Control& bar = ui_.prgsAction;
  bar.Value = std::clamp(value, bar.Min, bar.Max);
  shell_.ControlChanged(bar);
}

void frmMain::SetAction(const std::string& text) {
  SetCaption(ui_.lblAction, text);
  shell_.ActionChanged(text);
  Log.Write({text});
}

bool frmMain::StartLog(const std::optional<std::string>& path) {
  if (!path) return true;
  if (!Log.Open(*path)) {
    ShowError(kResNoLog, LoadResString(kResNoLog) + *path);
    return false;
  }
  Log.Write({"RIGBOX Extract " RIGBOX_VERSION_TEXT ""sv});
  return true;
}

void frmMain::Form_Load() {
  model_.Form.Caption = kWindowCaption;
  shell_.ControlChanged(model_.Form);
  Step = kStepGameFolder;
  Task = 0;
  ShowStep(kStepGameFolder);
  LoadFormTexts(model_);
  for (const Control& control : model_.Controls) shell_.ControlChanged(control);

  if (discovery::ReadGameFolder(registry_, GameFolder, GameFolderOrigin)) {
    SetCaption(ui_.lblGameFolder, GameFolder);
  } else {
    SetCaption(ui_.lblGameFolder, LoadResString(kResNotInstalled));
  }
}

void frmMain::SetNavButtons(int16_t newStep) {
  switch (newStep) {
    case kStepGameFolder:
      SetEnabled(ui_.cmdNav[kNavBack], false);
      SetEnabled(ui_.cmdNav[kNavNext], true);
      SetEnabled(ui_.cmdNav[kNavFinish], false);
      break;
    case kStepProgress:
      for (int16_t index : {kNavCancel, kNavBack, kNavNext, kNavFinish}) SetEnabled(ui_.cmdNav[index], false);
      break;
    case kStepSelectCar:
      SetEnabled(ui_.cmdNav[kNavBack], true);
      if (ui_.lstCarList.ListIndex < 0) SetEnabled(ui_.cmdNav[kNavNext], false);
      SetEnabled(ui_.cmdNav[kNavFinish], false);
      break;
    default:
      SetEnabled(ui_.cmdNav[kNavBack], true);
      SetEnabled(ui_.cmdNav[kNavNext], true);
      SetEnabled(ui_.cmdNav[kNavFinish], false);
      break;
  }
}

void frmMain::ShowStep(const int16_t& newStep) {
  SetNavButtons(newStep);
  if (Control* current = ui_.fraStep.At(Step)) SetVisible(*current, false);
  if (Control* next = ui_.fraStep.At(newStep)) SetVisible(*next, true);
  Step = newStep;
  SetCaption(ui_.lblTitle, LoadResString(static_cast<int16_t>(newStep * 100 + 200)));
  SetCaption(ui_.lblSubTitle, LoadResString(static_cast<int16_t>(newStep * 100 + 201)));
}

void frmMain::cmdNav_Click(int16_t index) {
  // A disabled button takes no click, whatever the front end delivers.
  Control* button = ui_.cmdNav.At(index);
  if (button == nullptr || !button->Enabled || running_) return;
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
  if (&control == ui_.cmdNav.At(index)) {
    cmdNav_Click(index);
  } else if (&control == &ui_.btnBrowse) {
    btnBrowse_Click(index);
  } else if (&control == &ui_.lstCarList) {
    // The selection belongs to the list, as its own property would hold it.
    control.ListIndex = selectedRow;
    lstCarList_Click();
  }
}

void frmMain::lstCarList_Click() { SetEnabled(ui_.cmdNav[kNavNext], true); }

void frmMain::Form_QueryUnload(int16_t& cancel, int16_t /*unloadMode*/) {
  // The run takes no input, a close request included.
  if (running_) {
    cancel = 1;
    return;
  }
  MsgResult answer = shell_.MessageBox(kResAreYouSure, LoadResString(kResAreYouSure), kCloseTitle,
                                       MsgButtons::YesNo, MsgIcon::Question);
  if (answer != MsgResult::Yes) cancel = 1;
}

bool frmMain::RequestClose(int16_t unloadMode) {
  int16_t cancel = 0;
  Form_QueryUnload(cancel, unloadMode);
  if (cancel != 0) return false;
  shell_.EndProgram();
  return true;
}

void frmMain::ShowError(const std::string& message) { ShowError(kMsgNotice, message); }

void frmMain::ShowError(int16_t stringId, const std::string& message) {
  Notify(stringId, message, kResErrorTitle, MsgIcon::Critical);
}

void frmMain::Notify(int16_t stringId, const std::string& message, int16_t titleId, MsgIcon icon) {
  std::string title = LoadResString(titleId);
  Log.Write({title, ": "sv, message});
  shell_.MessageBox(stringId, message, title, MsgButtons::OK, icon);
}

std::string PackageErrorReport(const std::string& fileName) {
  const support::Failure& failure = modRIGBOX::LastFailure;
  // The system's reasons are English; these ask the player to act, so
  // they are said in the player's language.
  std::string text = failure.Kind == support::FailureKind::InUse
                         ? support::FailureText(failure, LoadResString(kResInUse))
                     : failure.Kind == support::FailureKind::Damaged ? LoadResString(kResDamaged)
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
    UseGameFolder(candidate, discovery::OriginKind::Picked);
    LastOutcome = Outcome::None;
  } else if (candidate != "\\") {
    ShowError(kResNoGame, LoadResString(kResNoGame));
    LastOutcome = Outcome::NotGameFolder;
  }
  SetCaption(ui_.lblGameFolder, GameFolder);
}

void frmMain::UseGameFolder(const std::string& folder, discovery::OriginKind kind) {
  GameFolder = folder;
  GameFolderOrigin = {kind, {}, {}};
}

void frmMain::OpenOnGameFolder(const std::string& folder) {
  UseGameFolder(modTools::AddBackslash(folder), discovery::OriginKind::CommandLine);
  SetCaption(ui_.lblGameFolder, GameFolder);
}

// A game under Program Files refuses a standard user's files: found before
// anything is written, and where the system can lift it, offered.
bool frmMain::MayWriteGameFolder() {
  if (game::MayWriteCarsFolder(GameFolder)) return true;
  LastOutcome = Outcome::FolderNotWritable;
  if (!shell_.CanRestartElevated()) {
    ShowError(kResNotWritable, LoadResString(kResNotWritable));
  } else if (shell_.MessageBox(kResAskElevation, LoadResString(kResAskElevation), LoadResString(kResWarning),
                               MsgButtons::YesNo, MsgIcon::Question) == MsgResult::Yes) {
    // Never two programs writing one log.
    Log.Write({"Restarting as administrator"});
    Log.Pause();
    if (shell_.RestartElevated(GameFolder, Log.Path())) {
      shell_.EndProgram();
      return false;
    }
    Log.Resume();
  }
  return false;
}

bool frmMain::NextOnGameFolderStep() {
  Log.Write({GameFolderText(GameFolder, GameFolderOrigin)});
  if (!CheckGameFolder(GameFolder)) {
    ShowError(kResNoGame, LoadResString(kResNoGame));
    LastOutcome = Outcome::NotGameFolder;
    return false;
  }
  if (!MayWriteGameFolder()) return false;
  LoadINI();
  ui_.lstCarList.ListItems = installedCars_;
  ui_.lstCarList.ListIndex = -1;
  shell_.ControlChanged(ui_.lstCarList);
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
  Log.Write({CarDetailsText()});
  // An ID the game does not take (malformed, or one of its own cars) would
  // have files written that nothing registers, a game car's over its own:
  // refused before anything is written.
  int16_t verdict = CheckCarID();
  if (verdict == game::kCarIdInvalid || verdict == game::kCarIdReserved) {
    ShowError(verdict, LoadResString(verdict) + (verdict == kResInvalidId ? kValidCharactersShown : ""));
    LastOutcome = Outcome::CarIdRefused;
    return false;
  }
  // Windows, and the game under Wine, take ABC and abc for one folder.
  std::string other = OtherSpelling();
  if (!other.empty()) {
    ShowError(kResOtherSpelling, LoadResString(kResOtherSpelling) + other);
    LastOutcome = Outcome::CarIdRefused;
    return false;
  }
  if (verdict == game::kCarIdInstalled) {
    MsgResult answer = shell_.MessageBox(kResReplaceQuestion, LoadResString(kResReplaceQuestion),
                                         LoadResString(kResWarning), MsgButtons::OKCancel, MsgIcon::Question);
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
  SetAction(LoadResString(kResExtracting));
  const Control& bar = ui_.prgsAction;

  std::string shownFolder = "Data\\Cars\\" + CarID + "\\";
  std::string carFolder = GameFolder + shownFolder;
  game::RecordedInstall install(carFolder, shownFolder, CarID);
  std::vector<modRIGBOX::RigboxEntry> entries;
  std::optional<game::FileFault> recordFault;
  // The package is checked whole against its checksum before anything is
  // written; the check fills the bar's first half.
  auto checked = [](void* form, int64_t done, int64_t total) {
    auto& self = *static_cast<frmMain*>(form);
    // In floating point: a 64-bit division would link its helper into the
    // Windows installer.
    self.SetProgress(static_cast<int32_t>(static_cast<double>(done) / static_cast<double>(total) *
                                          self.ui_.prgsAction.Max * 0.5));
    self.shell_.KeepResponsive();
  };
  bool ok = modRIGBOX::OpenPackage(modRIGBOX::kModeAppended, RIGBOX_FileName, "", 0) &&
            modRIGBOX::CheckPackageIntegrity(checked, this) && modRIGBOX::VerifyPackage(entries);
  if (ok) {
    std::vector<std::string> names(entries.size());
    for (size_t i = 0; i < entries.size(); ++i) names[i] = modRIGBOX::EntryPath(entries[i]);
    const modRIGBOX::InstallerRecord& details = modRIGBOX::PackageRecord;
    install.Details().Name = details.Name;
    install.Details().Version = details.Version;
    install.Details().Author = details.Author;
    recordFault = install.Begin(RIGBOX_VERSION_TEXT, modRIGBOX::PackageIdentity(entries), names);
  }
  if (ok && !recordFault) {
    SetProgress(bar.Max / 2);
    std::string destination = GameFolder + "Data\\Cars\\" + CarID;
    // The extraction's share, from half up to the registrations', fills as
    // the bytes are written. Only a changed value goes to the window, so a
    // fast disk sends it a few dozen at most.
    struct Painted {
      frmMain& Form;
      int64_t At;
      const std::string& Shown;
    } painted{*this, platform::MonotonicMilliseconds(), shownFolder};
    auto written = [](void* context, const std::string& path, int32_t size) {
      auto& [self, at, shown] = *static_cast<Painted*>(context);
      self.Log.Write({"Written: "sv, shown, path, " ("sv, support::DecimalText(size), " bytes)"});
    };
    auto extracted = [](void* context, int64_t done, int64_t total) {
      auto& [self, at, shown] = *static_cast<Painted*>(context);
      const Control& progress = self.ui_.prgsAction;
      int32_t half = progress.Max / 2;
      int32_t share = progress.Max - kProgressForRegistrations - half;
      int32_t value =
          half + static_cast<int32_t>(static_cast<double>(done) / static_cast<double>(total) * share);
      int64_t now = platform::MonotonicMilliseconds();
      if (value != progress.Value) {
        self.SetProgress(value);  // shown, and the window painted, at once
      } else if (now - at < kRepaintMilliseconds) {
        return;
      } else {
        self.shell_.KeepResponsive();
      }
      at = now;
    };
    modRIGBOX::SetBusyHook([](void* shell) { static_cast<Shell*>(shell)->KeepResponsive(); }, &shell_);
    ok = modRIGBOX::ExtractPackage(destination, extracted, &painted, written);
    modRIGBOX::SetBusyHook(nullptr, nullptr);
    if (ok) SetProgress(bar.Max - kProgressForRegistrations);
  }
  ok = modRIGBOX::ClosePackage() && ok;
  // The record names every file before the first line names the car.
  if (ok && !recordFault) recordFault = install.Finish();
  if (!ok || recordFault) {
    running_ = false;
    if (recordFault) {
      ShowError(FaultReport(kResRunError, {*recordFault}));
    } else {
      ShowPackageError();
    }
    SetAction(LoadResString(kResRunError));
    SetEnabled(ui_.cmdNav[kNavFinish], true);
    bool damaged = !recordFault && modRIGBOX::LastFailure.Kind == support::FailureKind::Damaged;
    LastOutcome = damaged ? Outcome::PackageUnreadable : Outcome::RunFailed;
    return;
  }

  scriptFaults_.clear();
  int16_t verdict = CheckCarID();
  // A listed car that the player replaces gets back the lines a crash or a
  // game update took away; lines already there are not added again. Other
  // IDs never get this far.
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
  if (WriteINI())
    Log.Write({"Vehiforge.ini written with "sv, CarID, verdict == game::kCarIdNew ? ", added"sv : ""sv});
  RegisterUninstallEntry(install.Details());
  bool registered = scriptFaults_.empty();
  SetAction(LoadResString(registered ? kResSuccess : kResPartlyRegistered));
  SetProgress(bar.Max);
  running_ = false;
  if (!registered) ShowScriptFaults();
  SetEnabled(ui_.cmdNav[kNavFinish], true);
  LastOutcome = registered ? Outcome::RunSucceeded : Outcome::RunPartlyRegistered;
}

// The entry's uninstaller is this program up to its installer record and
// package. A failure is a warning: the car is installed all the same.
void frmMain::RegisterUninstallEntry(const game::InstallRecord& installed) {
  const modRIGBOX::InstallerRecord& details = modRIGBOX::PackageRecord;
  InstalledCar car{GameFolder, CarID, details.Name, details.Version, details.Author, 0};
  for (const game::RecordedFile& file : installed.Files) car.Bytes += file.Size;
  std::string failed = RegisterUninstall(registry_, car, RIGBOX_FileName, modRIGBOX::ProgramLength());
  if (!failed.empty())
    Notify(kResNoUninstallEntry, LoadResString(kResNoUninstallEntry) + failed, kResWarning,
           MsgIcon::Exclamation);
}

// The car is installed and listed, but the game may not see it: say which
// game files did not take their lines, and why.
void frmMain::ShowScriptFaults() {
  Notify(kResPartlyRegistered, FaultReport(kResPartlyRegistered, scriptFaults_), kResWarning,
         MsgIcon::Exclamation);
}

std::string frmMain::OtherSpelling() const {
  if (std::find(installedCars_.begin(), installedCars_.end(), CarID) != installedCars_.end()) return {};
  for (const std::string& car : installedCars_)
    if (support::EqualsIgnoringCase(car, CarID)) return car;
  std::string folder = game::CarFolderSpelling(GameFolder, CarID);
  return folder == CarID ? std::string() : folder;
}

int16_t frmMain::CheckCarID() { return game::CheckCarID(CarID, installedCars_); }

bool frmMain::LoadINI() { return game::LoadINI(GameFolder, installedCars_); }

bool frmMain::WriteINI() { return game::WriteINI(GameFolder, installedCars_, this); }

bool frmMain::UpdateGVCarsScript() { return game::UpdateGVCarsScript(GameFolder, CarID, *this); }

bool frmMain::UpdateGVPartsScript() { return game::UpdateGVPartsScript(GameFolder, CarID, *this); }

bool frmMain::UpdateGVTextsScript() { return game::UpdateGVTextsScript(GameFolder, CarID, *this); }

bool frmMain::UpdateGVIconsScript() { return game::UpdateGVIconsScript(GameFolder, CarID, *this); }

void frmMain::AddProgress(int amount) { SetProgress(ui_.prgsAction.Value + amount); }

void frmMain::SetCreatingFile(const std::string& shownName) {
  SetAction(LoadResString(kResCreatingFile) + shownName);
}

void frmMain::ScriptFailed(const std::string& shownName, game::ScriptFault fault) {
  scriptFaults_.push_back({shownName, fault});
}

void frmMain::CopyUpdated(const std::string& path) { SetAction(LoadResString(kResCopyUpdated) + path); }

void frmMain::ScriptLine(const std::string& shownName, const std::string& line, bool added) {
  Log.Write({added ? "Line added to "sv : "Line already in "sv, shownName, ": "sv, line});
}

}  // namespace wizard
