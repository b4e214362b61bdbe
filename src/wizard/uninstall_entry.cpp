#include "wizard/uninstall_entry.h"

#include <cstring>

#include "game/car_folder.h"
#include "game/game_files.h"
#include "game/install_record.h"
#include "support/ascii_case.h"
#include "support/crc32c.h"
#include "support/platform.h"
#include "support/text_format.h"
#include "support/tools.h"
#include "wizard/string_table.h"

namespace wizard {
namespace {

using modRegistry::kHkeyCurrentUser, modRegistry::kHkeyLocalMachine;

// Ours, in the folder for programs; one copy serves every car.
constexpr char kUninstallerFolder[] = "\\RIGBOX Extract";
constexpr char kUninstallerName[] = "\\rigbox-extract.exe";

// A folder as one text whatever its spelling: Windows ignores letter case.
std::string FolderKey(std::string folder) {
  while (!folder.empty() && platform::IsSeparator(folder.back())) folder.pop_back();
  for (char& c : folder) c = support::AsciiUpper(c);
  return folder;
}

// A path quoted for Windows' command line: a backslash before the closing
// quote is doubled, or it would escape the quote.
void AppendQuoted(std::string& text, const std::string& path) {
  text += '"';
  text += path;
  if (!path.empty() && path.back() == '\\') text += '\\';
  text += '"';
}

constexpr int16_t kResRemoveTheCar = 172;
constexpr int16_t kResFromFolder = 173;

}  // namespace

std::string CarShownName(const std::string& name, const std::string& carId) {
  return name.empty() ? carId : name + " (" + carId + ")";
}

std::string RemovalQuestion(const std::string& gameFolder, const std::string& carId) {
  game::InstallRecord record;
  game::ReadRecord(modTools::AddBackslash(gameFolder) + "Data\\Cars\\" + carId + "\\", record);
  std::string text = LoadResString(kResRemoveTheCar);
  text += CarShownName(record.Name, carId);
  text += LoadResString(kResFromFolder);
  text += gameFolder;
  text += '?';
  return text;
}

std::string UninstallKeyName(const std::string& gameFolder, const std::string& carId) {
  std::string folder = FolderKey(gameFolder), name = "RigboxCar_";
  name += carId;
  name += '_';
  name += support::HexText(support::Crc32c(0, folder.data(), folder.size()), 8);
  return name;
}

std::string UninstallCommand(const std::string& uninstaller, const std::string& gameFolder,
                             const std::string& carId) {
  std::string command;
  AppendQuoted(command, uninstaller);
  command += " --remove --car ";
  command += carId;
  command += " --game-dir ";
  AppendQuoted(command, gameFolder);
  return command;
}

bool RemovalNeedsRights(const std::string& gameFolder, const std::string& carId,
                        modRegistry::RegistryApi& registry) {
  modRegistry::KeyHandle key = 0;
  if (registry.OpenKey(kHkeyLocalMachine, kUninstallKeys + UninstallKeyName(gameFolder, carId), 0,
                       modRegistry::kKeyRead, key) == modRegistry::kErrorSuccess) {
    registry.CloseKey(key);
    return true;
  }
  return !game::MayWriteCarsFolder(modTools::AddBackslash(gameFolder));
}

std::string ArgumentsOf(const std::string& commandLine) {
  // The program's name ends at its closing quote, else at a blank.
  size_t end = commandLine.starts_with('"') ? commandLine.find('"', 1) : commandLine.find_first_of(" \t");
  size_t start = end == std::string::npos ? end : commandLine.find_first_not_of(" \t", end + 1);
  return start == std::string::npos ? std::string() : commandLine.substr(start);
}

uint64_t ProgramVersion(const std::string& program) {
  // VS_FIXEDFILEINFO: its signature, the structure's version, then the
  // file version's most and least significant halves.
  static constexpr char kSignature[] = "\xBD\x04\xEF\xFE";
  size_t at = program.find(kSignature, 0, 4);
  if (at == std::string::npos || program.size() - at < 16) return 0;
  uint32_t high = 0, low = 0;
  std::memcpy(&high, program.data() + at + 8, 4);
  std::memcpy(&low, program.data() + at + 12, 4);
  return static_cast<uint64_t>(high) << 32 | low;
}

std::string RegisterUninstall(modRegistry::RegistryApi& registry, const InstalledCar& car,
                              const std::string& programPath, int64_t programLength) {
  if (!registry.KeepsUninstallEntries()) return std::string();
  bool everyUser = platform::IsElevated();
  std::string programs = platform::ProgramsFolder(everyUser);
  if (programs.empty()) return kUninstallerFolder;
  std::string folder = programs + kUninstallerFolder, uninstaller = folder + kUninstallerName;
  std::string ours(static_cast<size_t>(programLength), '\0');
  platform::File self;
  if (!self.Open(programPath, platform::OpenMode::Read) || !self.ReadExact(ours.data(), ours.size()))
    return programPath;
  self.Close();
  // An author's signature covers the whole installer and follows its
  // package: the copy has none, and its header must not point past its end.
  // Security directory: PE32 at +152 from the PE signature, PE32+ at +168.
  uint32_t header = 0;
  if (ours.size() > 0x1000) std::memcpy(&header, ours.data() + 0x3C, 4);
  if (header > 0 && header < 0x1000 - 176)
    std::memset(ours.data() + header + (ours[header + 25] == 2 ? 168 : 152), 0, 8);
  // A link on the way could put the program anywhere.
  if (!platform::MakeSureDirectoryPathExists(uninstaller) ||
      platform::PassesThroughLink(folder, programs.size()))
    return uninstaller;
  if (ProgramVersion(modTools::ReadTextFile(uninstaller)) < ProgramVersion(ours) &&
      game::ReplaceWholeFile(uninstaller, uninstaller + ".tmp", ours))
    return uninstaller;
  uint32_t root = everyUser ? kHkeyLocalMachine : kHkeyCurrentUser;
  std::string key = kUninstallKeys + UninstallKeyName(car.GameFolder, car.CarId);
  std::string command = UninstallCommand(uninstaller, car.GameFolder, car.CarId), quiet = command + kQuiet;
  std::string name = "Gravelon car: " + CarShownName(car.Name, car.CarId);
  std::string location = car.GameFolder;
  location += "Data\\Cars\\";
  location += car.CarId;
  location += '\\';
  // Text, or a number where there is none; empty text is left out.
  const struct {
    const char* Name;
    const std::string* Text;
    uint32_t Number;
  } values[] = {{"DisplayName", &name, 0},
                {"DisplayVersion", &car.Version, 0},
                {"Publisher", &car.Author, 0},
                {"DisplayIcon", &uninstaller, 0},
                {"InstallLocation", &location, 0},
                {"UninstallString", &command, 0},
                {"QuietUninstallString", &quiet, 0},
                {"EstimatedSize", nullptr, static_cast<uint32_t>((car.Bytes + 1023) >> 10)},
                {"NoModify", nullptr, 1},
                {"NoRepair", nullptr, 1}};
  bool written = true;
  for (const auto& value : values)
    if (value.Text == nullptr || !value.Text->empty())
      written = registry.SetValue(root, key, value.Name, value.Text, value.Number) == 0 && written;
  return written ? std::string() : (everyUser ? "HKLM\\" : "HKCU\\") + key;
}

void UnregisterUninstall(modRegistry::RegistryApi& registry, const std::string& gameFolder,
                         const std::string& carId) {
  std::string key = kUninstallKeys + UninstallKeyName(gameFolder, carId);
  for (uint32_t root : {kHkeyCurrentUser, kHkeyLocalMachine}) registry.DeleteKey(root, key);
}

}  // namespace wizard
