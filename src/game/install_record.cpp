#include "game/install_record.h"

#include "support/ascii_case.h"
#include "support/platform.h"
#include "support/text_format.h"
#include "support/tools.h"

namespace game {
namespace {

constexpr char kFirstLine[] = "RIGBOX install record 1";
// Beside the record, so replacing it is a rename on one disk.
constexpr char kTempName[] = "rigbox-install-record.tmp";

// Digits only, nothing else; false on anything else or on overflow.
bool ParseNumber(const std::string& text, uint64_t& value) {
  value = 0;
  if (text.empty() || text.size() > 20) return false;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    uint64_t next = value * 10 + static_cast<uint64_t>(c - '0');
    if (next / 10 != value) return false;
    value = next;
  }
  return true;
}

// "<size> <modified> <name>"
bool ParseFileLine(const std::string& value, RecordedFile& file) {
  size_t first = value.find(' ');
  size_t second = first == std::string::npos ? first : value.find(' ', first + 1);
  uint64_t size = 0;
  if (second == std::string::npos || !ParseNumber(value.substr(0, first), size) ||
      !ParseNumber(value.substr(first + 1, second - first - 1), file.Modified) ||
      size > static_cast<uint64_t>(INT64_MAX)) {
    return false;
  }
  file.Size = static_cast<int64_t>(size);
  file.Name = value.substr(second + 1);
  return !file.Name.empty();
}

// The name the install writes to or wrote, as it is on disk: where the
// system matches names in any letter case, a file there in another case
// takes the package's file.
std::string OnDiskName(const std::string& carFolder, const std::string& name) {
  std::string folder = platform::NativePath(carFolder), full = platform::NativePath(carFolder + name);
  std::string onDisk = full.compare(0, folder.size(), folder) == 0 ? full.substr(folder.size()) : name;
  for (char& c : onDisk)
    if (platform::IsSeparator(c)) c = '\\';
  return onDisk;
}

// Deletes a file of an earlier version; read-only ones too.
bool DeleteOld(const std::string& path) {
  return platform::DeleteFile(path) ||
         (platform::SetFileAttributes(path, platform::kAttrNormal) && platform::DeleteFile(path));
}

}  // namespace

const RecordedFile* InstallRecord::Find(const std::string& name) const {
  for (const RecordedFile& file : Files)
    if (SameFileName(file.Name, name)) return &file;
  return nullptr;
}

std::string RecordText(const InstallRecord& record) {
  std::string text = std::string(kFirstLine) + "\ncar=" + record.CarId + "\nprogram=" + record.Program +
                     "\npackage=" + record.Package + "\n";
  for (const RecordedFile& file : record.Files) {
    if (file.Pending) {
      text += "pending=" + file.Name + "\n";
    } else {
      text += "file=" + support::DecimalText(file.Size) + " " + support::DecimalText(file.Modified) + " " +
              file.Name + "\n";
    }
  }
  return text;
}

std::optional<InstallRecord> ParseRecord(const std::string& text) {
  InstallRecord record;
  size_t start = 0;
  bool first = true;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) return std::nullopt;  // cut off: not the whole record
    std::string line = text.substr(start, end - start);
    start = end + 1;
    if (first) {
      if (line != kFirstLine) return std::nullopt;
      first = false;
      continue;
    }
    size_t equals = line.find('=');
    if (equals == std::string::npos) return std::nullopt;
    std::string key = line.substr(0, equals), value = line.substr(equals + 1);
    if (key == "car") {
      record.CarId = value;
    } else if (key == "program") {
      record.Program = value;
    } else if (key == "package") {
      record.Package = value;
    } else if (key == "file" || key == "pending") {
      RecordedFile file;
      file.Pending = key == "pending";
      file.Name = value;
      if (!file.Pending && !ParseFileLine(value, file)) return std::nullopt;
      if (file.Name.empty()) return std::nullopt;
      record.Files.push_back(file);
    }
  }
  if (first || record.CarId.empty()) return std::nullopt;
  return record;
}

RecordState ReadRecord(const std::string& carFolder, InstallRecord& record) {
  std::string path = carFolder + kRecordName;
  platform::PathInfo info;
  if (platform::GetPathInfo(path, info) && info.Kind == platform::PathKind::Missing && !info.IsLink)
    return RecordState::Missing;
  std::optional<InstallRecord> read;
  if (info.Kind == platform::PathKind::File && !info.IsLink) read = ParseRecord(modTools::ReadTextFile(path));
  if (!read) return RecordState::Broken;
  record = *read;
  return RecordState::Read;
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

InstallRecord PreviousRecord(const std::string& carFolder, const std::string& carId) {
  InstallRecord record;
  if (ReadRecord(carFolder, record) != RecordState::Read || record.CarId != carId) return InstallRecord{};
  return record;
}

std::optional<ScriptFault> BeginInstall(const std::string& carFolder, const InstallRecord& previous,
                                        const std::vector<std::string>& names, InstallRecord& next) {
  next.Files.clear();
  for (const std::string& name : names) {
    RecordedFile file;
    file.Name = OnDiskName(carFolder, name);
    file.Pending = true;
    next.Files.push_back(file);
  }
  InstallRecord pending = next;
  for (const RecordedFile& file : previous.Files)
    if (next.Find(file.Name) == nullptr) pending.Files.push_back(file);
  if (!platform::MakeSureDirectoryPathExists(carFolder)) return Because(ScriptFault::CannotReplace);
  return WriteRecord(carFolder, pending);
}

std::optional<FileFault> FinishInstall(const std::string& carFolder, const std::string& shownPrefix,
                                       const InstallRecord& previous, InstallRecord& next) {
  for (RecordedFile& file : next.Files) {
    file.Pending = !StampFile(carFolder + file.Name, file);
    if (file.Pending) return FileFault{shownPrefix + file.Name, Because(ScriptFault::CannotRead)};
  }
  for (const RecordedFile& old : previous.Files) {
    std::string path = carFolder + old.Name;
    if (next.Find(old.Name) != nullptr || !IsUnchanged(path, old)) continue;
    if (!DeleteOld(path)) return FileFault{shownPrefix + old.Name, Because(ScriptFault::CannotDelete)};
    // Its folders go with it once nothing else is left in them.
    for (size_t cut = old.Name.rfind('\\'); cut != std::string::npos && cut > 0;
         cut = old.Name.rfind('\\', cut - 1)) {
      if (!platform::RemoveFolder(carFolder + old.Name.substr(0, cut))) break;
    }
  }
  if (std::optional<ScriptFault> fault = WriteRecord(carFolder, next))
    return FileFault{shownPrefix + kRecordName, *fault};
  return std::nullopt;
}

bool SameFileName(const std::string& a, const std::string& b) {
  return platform::kNamesIgnoreCase ? support::EqualsIgnoringCase(a, b) : a == b;
}

}  // namespace game
