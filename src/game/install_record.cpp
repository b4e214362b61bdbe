#include "game/install_record.h"

#include <cstdint>
#include <string_view>
#include <utility>

#include "support/ascii_case.h"
#include "support/platform.h"
#include "support/text_format.h"
#include "support/tools.h"

namespace game {
namespace {

constexpr char kFirstLine[] = "RIGBOX install record 1";
// Beside the record, so replacing it is a rename on one disk.
constexpr char kTempName[] = "rigbox-install-record.tmp";

// The digits of text from from to to, nothing else; false on anything
// else or on overflow (checked without a 64-bit division, which the
// Windows installer has no room for).
bool ParseNumber(const std::string& text, size_t from, size_t to, uint64_t& value) {
  constexpr uint64_t kTenth = UINT64_MAX / 10;
  value = 0;
  if (from >= to) return false;
  for (size_t i = from; i < to; ++i) {
    auto digit = static_cast<unsigned>(text[i] - '0');
    if (digit > 9 || value > kTenth || (value == kTenth && digit > UINT64_MAX % 10)) return false;
    value = value * 10 + digit;
  }
  return true;
}

// file.Name holds "<size> <modified> <name>": split it.
bool ParseFileLine(RecordedFile& file) {
  const std::string& line = file.Name;
  size_t first = line.find(' ');
  size_t second = first == std::string::npos ? first : line.find(' ', first + 1);
  uint64_t size = 0;
  if (second == std::string::npos || !ParseNumber(line, 0, first, size) ||
      !ParseNumber(line, first + 1, second, file.Modified) || size > INT64_MAX) {
    return false;
  }
  file.Size = static_cast<int64_t>(size);
  file.Name.erase(0, second + 1);
  return true;
}

// The name the install writes to or wrote, as it is on disk: where the
// system matches names in any letter case, a file there in another case
// takes the package's file.
std::string OnDiskName(const std::string& carFolder, const std::string& name) {
  if constexpr (platform::kNamesIgnoreCase) return name;  // one name whatever its case
  std::string folder = platform::NativePath(carFolder), full = platform::NativePath(carFolder + name);
  std::string onDisk = full.compare(0, folder.size(), folder) == 0 ? full.substr(folder.size()) : name;
  for (char& c : onDisk)
    if (platform::IsSeparator(c)) c = '\\';
  return onDisk;
}

}  // namespace

const RecordedFile* InstallRecord::Find(const std::string& name) const {
  for (const RecordedFile& file : Files)
    if (SameFileName(file.Name, name)) return &file;
  return nullptr;
}

std::string RecordText(const InstallRecord& record) {
  std::string text = kFirstLine;
  text += "\ncar=";
  text += record.CarId;
  text += "\nprogram=";
  text += record.Program;
  text += "\npackage=";
  text += record.Package;
  text += '\n';
  const std::pair<const char*, const std::string*> details[] = {
      {"name=", &record.Name}, {"version=", &record.Version}, {"author=", &record.Author}};
  for (const auto& [key, value] : details) {
    if (value->empty()) continue;
    text += key;
    // Another maker's installer may carry a line break: it must not start
    // a line of its own.
    for (char c : *value) text += static_cast<unsigned char>(c) < 0x20 ? ' ' : c;
    text += '\n';
  }
  for (const RecordedFile& file : record.Files) {
    if (file.Pending) {
      text += "pending=";
    } else {
      text += "file=";
      text += support::DecimalText(file.Size);
      text += ' ';
      text += support::DecimalText(file.Modified);
      text += ' ';
    }
    text += file.Name;
    text += '\n';
  }
  return text;
}

bool ParseRecord(const std::string& text, InstallRecord& record) {
  record.CarId.clear();
  record.Files.clear();
  size_t start = 0;
  for (bool first = true; start < text.size(); first = false) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) return false;  // cut off: not the whole record
    size_t at = start;
    start = end + 1;
    if (first) {
      if (text.compare(at, end - at, kFirstLine) != 0) return false;
      continue;
    }
    size_t equals = text.find('=', at);
    if (equals >= end) return false;
    size_t keyLength = equals - at;
    // The program and the package are for people; the removal and the
    // updates need the car and its files.
    bool car = text.compare(at, keyLength, "car") == 0, pending = text.compare(at, keyLength, "pending") == 0;
    if (!car && !pending && text.compare(at, keyLength, "file") != 0) continue;
    std::string value = text.substr(equals + 1, end - equals - 1);
    if (car) {
      record.CarId = value;
      continue;
    }
    record.Files.emplace_back();
    RecordedFile& file = record.Files.back();
    file.Pending = pending;
    file.Name = value;
    if ((!pending && !ParseFileLine(file)) || file.Name.empty()) return false;
  }
  return !record.CarId.empty();
}

RecordState ReadRecord(const std::string& carFolder, InstallRecord& record) {
  std::string path = carFolder + kRecordName;
  platform::PathInfo info;
  if (platform::GetPathInfo(path, info) && info.Kind == platform::PathKind::Missing && !info.IsLink)
    return RecordState::Missing;
  bool read = info.Kind == platform::PathKind::File && !info.IsLink &&
              ParseRecord(modTools::ReadTextFile(path), record);
  return read ? RecordState::Read : RecordState::Broken;
}

std::optional<ScriptFault> WriteRecord(const std::string& carFolder, const InstallRecord& record) {
  return ReplaceWholeFile(carFolder + kRecordName, carFolder + kTempName, RecordText(record));
}

bool StampFile(const std::string& path, RecordedFile& file) {
  platform::PathInfo info;
  if (!platform::GetPathInfo(path, info) || info.IsLink || info.Kind != platform::PathKind::File)
    return false;
  file.Size = info.Size;
  file.Modified = info.Modified;
  return true;
}

bool IsUnchanged(const std::string& path, const RecordedFile& file) {
  RecordedFile now;
  if (!StampFile(path, now)) return false;
  return file.Pending || (now.Size == file.Size && now.Modified == file.Modified);
}

RecordedInstall::RecordedInstall(const std::string& carFolder, const std::string& shownPrefix,
                                 const std::string& carId)
    : folder_(carFolder), shown_(shownPrefix) {
  if (ReadRecord(carFolder, previous_) != RecordState::Read || previous_.CarId != carId)
    previous_.Files.clear();
  next_.CarId = carId;
}

std::optional<FileFault> RecordedInstall::Begin(const std::string& program, const std::string& package,
                                                const std::vector<std::string>& names) {
  next_.Program = program;
  next_.Package = package;
  for (const std::string& name : names) {
    next_.Files.emplace_back();
    next_.Files.back().Name = OnDiskName(folder_, name);
    next_.Files.back().Pending = true;
  }
  // Written with the earlier files that this package does not hold; next_
  // keeps the package's alone.
  size_t own = next_.Files.size();
  for (const RecordedFile& file : previous_.Files)
    if (next_.Find(file.Name) == nullptr) next_.Files.push_back(file);
  std::optional<ScriptFault> fault;
  if (!platform::MakeSureDirectoryPathExists(folder_)) {
    fault = Because(ScriptFault::CannotReplace);
  } else {
    fault = WriteRecord(folder_, next_);
  }
  next_.Files.erase(next_.Files.begin() + static_cast<ptrdiff_t>(own), next_.Files.end());
  if (fault) return FileFault{shown_ + kRecordName, *fault};
  return std::nullopt;
}

std::optional<FileFault> RecordedInstall::Finish() {
  for (RecordedFile& file : next_.Files) {
    file.Pending = !StampFile(folder_ + file.Name, file);
    if (file.Pending) return FileFault{shown_ + file.Name, Because(ScriptFault::CannotRead)};
  }
  for (const RecordedFile& old : previous_.Files) {
    std::string path = folder_ + old.Name;
    if (next_.Find(old.Name) != nullptr || !IsUnchanged(path, old)) continue;
    if (!platform::ClearName(path)) return FileFault{shown_ + old.Name, Because(ScriptFault::CannotDelete)};
    // Its folders go with it once nothing else is left in them.
    for (size_t cut = old.Name.rfind('\\'); cut != std::string::npos && cut > 0;
         cut = old.Name.rfind('\\', cut - 1)) {
      if (!platform::RemoveFolder(folder_ + old.Name.substr(0, cut))) break;
    }
  }
  if (std::optional<ScriptFault> fault = WriteRecord(folder_, next_))
    return FileFault{shown_ + kRecordName, *fault};
  return std::nullopt;
}

bool SameFileName(const std::string& a, const std::string& b) {
  return platform::kNamesIgnoreCase ? support::EqualsIgnoringCase(a, b) : a == b;
}

}  // namespace game
