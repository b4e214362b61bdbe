#include <algorithm>

#include "package/chunk_copy.h"
#include "package/package_window.h"
#include "package/rigbox.h"
#include "package/rigbox_errors.h"
#include "package/safe_names.h"
#include "support/text_format.h"
#include "support/tools.h"

namespace modRIGBOX {
namespace {

// Entries read per call when loading the directory.
constexpr size_t kEntriesPerRead = 512;

using support::FailureKind;

// File position of package position 1, minus one.
int64_t Base() { return PackageInExe ? static_cast<int64_t>(HeaderPos) - 1 : 0; }

bool PackageIsReadable() {
  bool reading = PackageMode == kModePackageFile || PackageMode == kModeAppended;
  if (reading && PackageFileNum.IsOpen() && HasRigboxMagic(PackageHeader) &&
      HasRigboxVersion(PackageHeader)) {
    return true;
  }
  return Fail(FailureKind::Misuse, platform::kErrBadFileName, "No package is open for reading");
}

bool FailDirectory(const std::string& detail) {
  return Fail(FailureKind::BadPackage, kFormatError, "The directory of", PackageFileName, detail);
}

std::string EntryLabel(size_t index, const RigboxEntry& entry) {
  return "Entry " + support::DecimalText(index + 1) + " (\"" + PrintableName(EntryPath(entry)) + "\")";
}

bool CheckDirectoryPlace() {
  const RigboxHeader& header = PackageHeader;
  if (header.FileCount < 0) {
    return FailDirectory(" has a negative file count (" + support::DecimalText(header.FileCount) + ")");
  }
  if (header.DirPos < kFirstDataPosition) {
    return FailDirectory(" starts at position " + support::DecimalText(header.DirPos) +
                         ", before the data area");
  }
  int64_t last =
      static_cast<int64_t>(header.DirPos) - 1 + static_cast<int64_t>(RigboxEntry::kSize) * header.FileCount;
  if (last > PackageLimit) {
    return FailDirectory(" (positions " + support::DecimalText(header.DirPos) + " to " +
                         support::DecimalText(last) + ") runs past the end of the package at " +
                         support::DecimalText(PackageLimit));
  }
  return true;
}

bool CheckEntry(size_t index, const RigboxEntry& entry) {
  std::string label = EntryLabel(index, entry);
  if (entry.Size < 0) {
    return FailMalformed(label + ": size " + support::DecimalText(entry.Size) + " is negative");
  }
  int64_t end = static_cast<int64_t>(entry.Position) + entry.Size;  // one past the last byte
  if (entry.Position < kFirstDataPosition || end > PackageHeader.DirPos) {
    return FailMalformed(label + ": " + support::DecimalText(entry.Size) + " bytes at position " +
                         support::DecimalText(entry.Position) + " lie outside the data area (positions " +
                         support::DecimalText(kFirstDataPosition) + " to " +
                         support::DecimalText(PackageHeader.DirPos - 1) + ")");
  }
  if (const char* problem = SubFolderProblem(EntrySubFolder(entry))) {
    return FailMalformed(label + ": folder name " + problem);
  }
  if (const char* problem = FileNameProblem(EntryFileName(entry))) {
    return FailMalformed(label + ": file name " + problem);
  }
  return true;
}

// The folder an entry goes to, D or D + S, with the system's separator
// between and after its parts.
std::string TargetFolder(const std::string& dest, const RigboxEntry& entry) {
  std::string subFolder(FolderWithoutTrailingSeparator(EntrySubFolder(entry)));
  if (subFolder.empty()) return dest;
  std::replace_if(subFolder.begin(), subFolder.end(), platform::IsSeparator, platform::kPreferredSeparator);
  return dest + subFolder + platform::kPreferredSeparator;
}

bool MakeFolder(const std::string& folder) {
  if (modTools::CheckFolder(folder, false)) return true;
  if (!platform::MakeSureDirectoryPathExists(folder)) return FailOs("Cannot create folder", folder);
  // Made, yet no folder: a file of that name is in the way.
  return modTools::CheckFolder(folder, false) ||
         Fail(FailureKind::AccessDenied, platform::kErrPathFileAccess, "Cannot create folder", folder, {});
}

bool ExtractEntry(size_t index, const RigboxEntry& entry, const std::string& folder, PackageWindow& window) {
  std::string target = folder + EntryFileName(entry);
  platform::File out;
  if (!out.Open(target, platform::OpenMode::Write)) return FailOs("Cannot create", target);
  CopyResult copied = window.CopyTo(Base() + entry.Position - 1, entry.Size, out);
  if (copied == CopyResult::ReadFailed) {
    return FailOs("Cannot read " + EntryLabel(index, entry) + " of", PackageFileName);
  }
  // Only what was written whole is flushed. One failure call for a failed
  // write, flush or close keeps the Windows installer small.
  bool written = copied == CopyResult::Done;
  bool flushed = written && out.FlushInBatch();
  if (!flushed || !out.Close()) return FailOs(written && !flushed ? "Cannot flush" : "Cannot write", target);
  return true;
}

}  // namespace

std::string CutAtNul(const std::string& text) { return text.substr(0, text.find('\0')); }

bool ReadPackageDirectory(std::vector<RigboxEntry>& entries) {
  entries.clear();
  if (!PackageIsReadable() || !CheckDirectoryPlace()) return false;
  auto count = static_cast<size_t>(PackageHeader.FileCount);
  auto failed = [] { return FailOs("Cannot read the directory of", PackageFileName); };
  if (!PackageFileNum.Seek(Base() + PackageHeader.DirPos - 1)) return failed();
  std::vector<uint8_t> bytes(std::min(count, kEntriesPerRead) * RigboxEntry::kSize);
  entries.reserve(count);
  while (entries.size() < count) {
    size_t batch = std::min(count - entries.size(), kEntriesPerRead);
    std::span<const uint8_t> block(bytes.data(), batch * RigboxEntry::kSize);
    if (!PackageFileNum.ReadExact(bytes.data(), block.size())) return failed();
    for (size_t i = 0; i < batch; ++i) {
      entries.push_back(*ParseRigboxEntry(block.subspan(i * RigboxEntry::kSize, RigboxEntry::kSize)));
    }
  }
  return true;
}

bool VerifyPackage(std::vector<RigboxEntry>& entries) {
  if (!ReadPackageDirectory(entries)) return false;
  for (size_t i = 0; i < entries.size(); ++i) {
    if (!CheckEntry(i, entries[i])) return false;
  }
  return true;
}

bool ExtractPackage(std::string& destFolder, ProgressHook progress, void* context, FileHook written) {
  destFolder = modTools::AddBackslash(destFolder);
  // Every entry is checked before the first byte is written, so a bad
  // package leaves the destination as it was.
  std::vector<RigboxEntry> entries;
  if (!VerifyPackage(entries)) return false;
  PackageWindow window(PackageFileNum, Base() + PackageHeader.DirPos - 1);
  int64_t total = 0;
  for (const RigboxEntry& entry : entries) total += entry.Size;
  window.ReportTo(progress, context, total);
  std::string madeFolder;
  for (size_t i = 0; i < entries.size(); ++i) {
    std::string folder = TargetFolder(destFolder, entries[i]);
    // Consecutive entries mostly share a folder: it is made sure of once per
    // run. A folder that cannot be made is reported with its own reason
    // (access denied), not as a file whose path is not found.
    if ((i == 0 || folder != madeFolder) && !MakeFolder(folder)) return false;
    madeFolder = folder;
    if (!ExtractEntry(i, entries[i], folder, window)) return false;
    if (written != nullptr) written(context, EntryPath(entries[i]), entries[i].Size);
  }
  // The car's files are on the disk before a game script or the profile
  // names them, or a power cut could leave the game listing empty files.
  if (!entries.empty() && !platform::FlushBatch(destFolder)) return FailOs("Cannot flush", destFolder);
  LastErrNumber = 0;
  LastErrText.clear();
  LastFailure = {};
  return true;
}

std::string PackageIdentity(const std::vector<RigboxEntry>& entries) {
  // 64-bit FNV-1a: enough to tell versions apart, and a few bytes of code.
  uint64_t hash = 14695981039346656037u;
  auto add = [&hash](const auto& bytes) {
    for (uint8_t byte : bytes) hash = (hash ^ byte) * 1099511628211u;
  };
  add(SerializeRigboxHeader(PackageHeader));
  for (const RigboxEntry& entry : entries) {
    add(std::span(reinterpret_cast<const uint8_t*>(&entry.Size), sizeof entry.Size + sizeof entry.Position));
    add(std::span(reinterpret_cast<const uint8_t*>(entry.SubFolder.data()), entry.SubFolder.size()));
    add(std::span(reinterpret_cast<const uint8_t*>(entry.FileName.data()), entry.FileName.size()));
  }
  return support::HexText(hash, 16);
}

namespace {
BusyHook gBusyHook = nullptr;
void* gBusyContext = nullptr;
}  // namespace

void SetBusyHook(BusyHook hook, void* context) {
  gBusyHook = hook;
  gBusyContext = context;
}

void NoteBusy() {
  if (gBusyHook != nullptr) gBusyHook(gBusyContext);
}

}  // namespace modRIGBOX
