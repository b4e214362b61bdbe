#include "wizard/removal.h"

#include <algorithm>

#include "game/car_folder.h"
#include "game/car_id.h"
#include "game/car_removal.h"
#include "game/game_files.h"
#include "game/installed_cars.h"
#include "package/rigbox.h"
#include "support/ascii_case.h"
#include "support/platform.h"
#include "wizard/string_table.h"

namespace wizard {

using namespace std::string_view_literals;

namespace {

constexpr int16_t kResRemoving = 113;
constexpr int16_t kResRemoved = 121;
constexpr int16_t kResLeftInPlace = 122;
constexpr int16_t kResCarNotInstalled = 123;
constexpr int16_t kResNotRemoved = 124;
constexpr int16_t kResStillIncluded = 128;
constexpr int16_t kResChangedKept = 129;
constexpr int16_t kResLinkRemoved = 130;
constexpr int16_t kResReserved = 10007;

// The package's file names inside the car's folder; false when the
// package cannot be read.
bool ReadEntryPaths(const std::string& fileName, std::vector<std::string>& paths) {
  std::vector<modRIGBOX::RigboxEntry> entries;
  // A damaged ID or name could take another car's files away.
  bool read = modRIGBOX::OpenPackage(modRIGBOX::kModeAppended, fileName, "", 0) &&
              modRIGBOX::CheckPackageIntegrity(nullptr, nullptr) && modRIGBOX::VerifyPackage(entries);
  read = modRIGBOX::ClosePackage() && read;
  for (const modRIGBOX::RigboxEntry& entry : entries) paths.push_back(modRIGBOX::EntryPath(entry));
  return read;
}

// Refused: an ID that names no folder under Data\Cars, and the game's own
// cars in any letter case, which share their folders with such an ID on
// Windows. 0 when removable, else the message's string ID.
int16_t Refusal(const std::string& carId) {
  if (!game::IsUsableFolderName(carId)) return kResInvalidId;
  std::string upper(carId);
  for (char& c : upper) c = support::AsciiUpper(c);
  return game::CheckCarID(upper, {}) == game::kCarIdReserved ? kResReserved : 0;
}

// Error text, then the status it ends the run with.
int Stop(ConsoleOutput& output, const std::string& text, int status) {
  output.Err(text);
  return status;
}

void Say(ConsoleOutput& output, int16_t stringId) { output.Out(LoadResString(stringId)); }

// What rewriting the profile reports, in the removal's own lists.
class ProfileReport : public game::ProgressSink {
 public:
  ProfileReport(std::vector<game::FileFault>& faults, std::vector<std::string>& copies)
      : faults_(faults), copies_(copies) {}
  void AddProgress(int /*amount*/) override {}
  void SetCreatingFile(const std::string& /*shownName*/) override {}
  void ScriptFailed(const std::string& shownName, game::ScriptFault fault) override {
    faults_.push_back({shownName, fault});
  }
  void CopyUpdated(const std::string& path) override { copies_.push_back(path); }

 private:
  std::vector<game::FileFault>& faults_;
  std::vector<std::string>& copies_;
};

// A heading, then each file kept under it.
void SayKept(ConsoleOutput& output, int16_t heading, const std::string& shownFolder,
             const std::vector<std::string>& paths) {
  if (!paths.empty()) Say(output, heading);
  for (const std::string& path : paths) output.Out(shownFolder + path);
}

// The removal's own output, each line logged too.
class LoggedOutput : public ConsoleOutput {
 public:
  LoggedOutput(ConsoleOutput& output, RunLog& log) : output_(output), log_(log) {}
  void Out(const std::string& line) override {
    output_.Out(line);
    log_.Write({line});
  }
  void Err(const std::string& line) override {
    output_.Err(line);
    log_.Write({line});
  }

 private:
  ConsoleOutput& output_;
  RunLog& log_;
};

// Each of names, after label and prefix.
void LogEach(RunLog& log, std::string_view label, std::string_view prefix,
             const std::vector<std::string>& names) {
  for (const std::string& name : names) log.Write({label, prefix, name});
}

int Failed(ConsoleOutput& output, const std::vector<game::FileFault>& faults) {
  Say(output, kResRunError);
  return Stop(output, FaultReport(kResNotRemoved, faults), kExitRunFailed);
}

}  // namespace

int RemoveCar(frmMain& form, ConsoleOutput& console) {
  RunLog& log = form.Log;
  LoggedOutput output(console, log);
  if (!form.CheckGameFolder(form.GameFolder))
    return Stop(output, LoadResString(kResNoGame), kExitNotGameFolder);
  form.LoadINI();
  form.RIGBOX_FileName = form.ProgramPath;
  std::vector<std::string> entryPaths;
  if (!ReadEntryPaths(form.RIGBOX_FileName, entryPaths))
    return Stop(output, PackageErrorReport(form.RIGBOX_FileName), kExitPackageRefused);
  form.CarID = modRIGBOX::GetPackageCarID();
  log.Write({CarDetailsText()});
  if (int16_t refusal = Refusal(form.CarID))
    return Stop(output, LoadResString(refusal) + (refusal == kResInvalidId ? kValidCharactersShown : ""),
                kExitPackageRefused);
  const std::string& game = form.GameFolder;
  std::string shownFolder = "Data\\Cars\\" + form.CarID + "\\";
  const std::vector<std::string>& cars = form.InstalledCars();
  bool listed = std::find(cars.begin(), cars.end(), form.CarID) != cars.end();
  std::string spelling = game::CarFolderSpelling(game, form.CarID);
  // On Windows, and for the game under Wine, another car's folder in
  // another letter case is this ID's folder: never take it for this car.
  bool otherCar = !listed && spelling != form.CarID && (!spelling.empty() || !form.OtherSpelling().empty());
  if (otherCar || (!listed && spelling.empty() && !game::HasCarLines(game, form.CarID)))
    return Stop(output, LoadResString(kResCarNotInstalled), kExitNotInstalled);
  if (!game::MayWriteCarsFolder(game)) return Stop(output, LoadResString(kResNotWritable), kExitRunFailed);
  Say(output, kResRemoving);
  // Whatever stands in the way is found before anything changes.
  std::string carFolder = game + shownFolder;
  platform::PathInfo folderInfo;
  bool linked = platform::GetPathInfo(game + "Data\\Cars\\" + form.CarID, folderInfo) && folderInfo.IsLink;
  std::vector<game::FileFault> faults;
  game::CarFiles files;
  if (!linked && !game::FindCarFiles(carFolder, shownFolder, entryPaths, files, faults))
    return Failed(output, faults);
  // The lines go first: a game that still includes the car's scripts
  // must still find them, whenever the run is cut off.
  std::vector<std::string> copies, removed;
  game::RemoveCarLines(game, form.CarID, faults, copies, &removed);
  LogEach(log, "The car's line removed from "sv, "", removed);
  if (faults.empty() && listed) {
    std::vector<std::string> others;
    for (const std::string& car : cars)
      if (car != form.CarID) others.push_back(car);
    ProfileReport report(faults, copies);
    if (game::WriteINI(game, others, &report)) log.Write({"Vehiforge.ini written without "sv, form.CarID});
  }
  for (const std::string& copy : copies) output.Out(LoadResString(kResCopyUpdated) + copy);
  if (!faults.empty()) return Failed(output, faults);
  // A line the car's own did not cover (another spelling, one a tool
  // added) would have the game load files that are about to go.
  if (std::string include = game::FindCarInclude(game, form.CarID); !include.empty()) {
    Say(output, kResRunError);
    output.Err(LoadResString(kResStillIncluded));
    return Stop(output, include, kExitRunFailed);
  }
  if (linked) {
    // What the link leads to is the author's, not the installer's.
    if (platform::RemoveLink(game + "Data\\Cars\\" + form.CarID)) {
      Say(output, kResLinkRemoved);
    } else {
      faults.push_back({shownFolder, game::Because(game::ScriptFault::CannotDelete)});
    }
  }
  // Any that stays is named with the faults below.
  LogEach(log, "Deleting: "sv, shownFolder, files.Remove);
  game::RemoveCarFiles(carFolder, shownFolder, files, faults);
  SayKept(output, kResLeftInPlace, shownFolder, files.Foreign);
  SayKept(output, kResChangedKept, shownFolder, files.Changed);
  if (!faults.empty()) return Failed(output, faults);
  Say(output, kResRemoved);
  return kExitSuccess;
}

}  // namespace wizard
