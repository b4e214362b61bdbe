#include "package/rigbox.h"

#include <algorithm>
#include <limits>
#include <optional>

#include "package/chunk_copy.h"
#include "package/rigbox_errors.h"
#include "package/safe_names.h"
#include "package/signed_pe.h"
#include "support/text_format.h"
#include "support/tools.h"

namespace modRIGBOX {

RigboxHeader PackageHeader;
std::vector<RigboxEntry> PackageDir;
platform::File PackageFileNum;
int32_t PackageMode = 0;
bool PackageInExe = false;
int32_t HeaderPos = 0;
int16_t LastErrNumber = 0;
std::string LastErrText;
support::Failure LastFailure;
std::string PackageFileName;
int64_t PackageLimit = 0;
RecordState PackageRecordState = RecordState::None;
InstallerRecord PackageRecord;

namespace {

using support::FailureKind;

// Whether the last create-mode open failed: its close must not finish a
// package that was never begun properly.
bool createFailed = false;
// Set by EnablePackageCreation; until then creating fails.
bool (*gCreate)(const std::string&, const std::string&, int32_t) = nullptr;
bool (*gFinish)() = nullptr;

constexpr int16_t kErrInvalidCall = 5;
constexpr int16_t kMaxFileCount = std::numeric_limits<int16_t>::max();
constexpr int64_t kMaxPosition = std::numeric_limits<int32_t>::max();

bool WriteHeader() {
  auto bytes = SerializeRigboxHeader(PackageHeader);
  if (!PackageFileNum.Seek(0) || !PackageFileNum.WriteAll(bytes.data(), bytes.size())) {
    return FailOs("Cannot write the header of", PackageFileName);
  }
  return true;
}

bool CreatePackage(const std::string& fileName, const std::string& carId, int32_t flags) {
  PackageHeader = NewRigboxHeader(carId, static_cast<int16_t>(flags));
  PackageInExe = false;
  HeaderPos = 0;
  // Deleting first keeps a new package from inheriting anything of an old
  // file, whatever the file system does on truncation.
  if (modTools::FileExists(fileName) && !platform::DeleteFile(fileName)) {
    return FailOs("Cannot replace", fileName);
  }
  if (!PackageFileNum.Open(fileName, platform::OpenMode::Write)) {
    return FailOs("Cannot create", fileName);
  }
  return WriteHeader();
}

bool FailNotPackage() { return Fail(FailureKind::NotPackage, kFormatError, kNoRigboxFile); }

// Reads the header at file offset `offset` and checks the two fields a
// reader relies on; nothing else of the header is checked on opening.
bool ReadAndCheckHeader(int64_t offset) {
  std::array<uint8_t, RigboxHeader::kSize> bytes{};
  // A header that would run past the end of the file is no package at all.
  int64_t length = PackageFileNum.Size();
  if (offset >= 0 && length >= 0 && offset + static_cast<int64_t>(RigboxHeader::kSize) > length)
    return FailNotPackage();
  if (!PackageFileNum.Seek(offset) || !PackageFileNum.ReadExact(bytes.data(), bytes.size())) {
    return FailOs("Cannot read the header of", PackageFileName,
                  " at file position " + support::DecimalText(offset + 1));
  }
  PackageHeader = *ParseRigboxHeader(bytes);
  if (!HasRigboxMagic(PackageHeader)) return FailNotPackage();
  if (!HasRigboxVersion(PackageHeader)) return Fail(FailureKind::WrongVersion, kFormatError, kWrongVersion);
  return true;
}

bool OpenForReading(const std::string& fileName, int64_t& length) {
  if (!PackageFileNum.Open(fileName, platform::OpenMode::ReadLocked)) {
    return FailOs("Cannot open", fileName);
  }
  length = PackageFileNum.Size();
  if (length < 0) return FailOs("Cannot read the length of", fileName);
  return true;
}

bool OpenPackageFile(const std::string& fileName) {
  PackageInExe = false;
  HeaderPos = 0;
  int64_t length = 0;
  if (!OpenForReading(fileName, length)) return false;
  PackageLimit = length;
  return ReadAndCheckHeader(0);
}

// True when the trailer at file offset `trailer` leads to a valid header
// whose package ends right where the trailer starts.
bool TrailerFitsPackage(int64_t trailer) {
  std::array<uint8_t, 4> position{};
  std::array<uint8_t, RigboxHeader::kSize> header{};
  if (!PackageFileNum.Seek(trailer) || !PackageFileNum.ReadExact(position.data(), position.size()))
    return false;
  int64_t headerOffset = static_cast<int64_t>(ByteReader(position).I32(0)) - 1;
  if (headerOffset < 0 || headerOffset + static_cast<int64_t>(RigboxHeader::kSize) > trailer) return false;
  if (!PackageFileNum.Seek(headerOffset) || !PackageFileNum.ReadExact(header.data(), header.size()))
    return false;
  RigboxHeader parsed = *ParseRigboxHeader(header);
  return HasRigboxMagic(parsed) && HasRigboxVersion(parsed) && headerOffset + parsed.EndPos == trailer;
}

// Signing tools align the certificate table to 8 bytes, so up to 7 zero
// bytes may stand between the trailer and the table. The trailer's own high
// bytes are often zero too, so each candidate must lead to its package.
std::optional<int64_t> TrailerBeforePadding(int64_t tableOffset) {
  constexpr int64_t kMaxPadding = 7;
  std::array<uint8_t, kMaxPadding> padding{};
  int64_t start = std::max<int64_t>(0, tableOffset - kMaxPadding);
  if (!PackageFileNum.Seek(start) ||
      !PackageFileNum.ReadExact(padding.data(), static_cast<size_t>(tableOffset - start)))
    return {};
  for (int64_t pad = 0; pad <= kMaxPadding && tableOffset - pad - 4 >= 0; ++pad) {
    if (pad > 0 && padding[static_cast<size_t>(tableOffset - start - pad)] != 0) break;
    if (TrailerFitsPackage(tableOffset - pad - 4)) return tableOffset - pad - 4;
  }
  return {};
}

bool OpenAppendedPackage(const std::string& fileName) {
  PackageInExe = true;
  HeaderPos = 0;
  int64_t length = 0;
  if (!OpenForReading(fileName, length)) return false;
  // The trailer is the last four bytes, or the four before a signature and
  // its padding.
  std::optional<int64_t> table = CertificateTableOffset(PackageFileNum, length);
  int64_t trailer = length - 4;
  if (table) trailer = TrailerBeforePadding(*table).value_or(*table - 4);
  std::array<uint8_t, 4> bytes{};
  if (!PackageFileNum.Seek(trailer) || !PackageFileNum.ReadExact(bytes.data(), bytes.size())) {
    return FailOs("Cannot read the trailer of", fileName);
  }
  HeaderPos = ByteReader(bytes).I32(0);
  int64_t headerOffset = static_cast<int64_t>(HeaderPos) - 1;
  PackageLimit = trailer - headerOffset;
  if (!ReadAndCheckHeader(headerOffset)) return false;
  PackageRecordState = ReadInstallerRecord(PackageFileNum, headerOffset, PackageRecord);
  return true;
}

}  // namespace

bool OpenPackage(int32_t mode, const std::string& fileName, const std::string& carId, int32_t flags) {
  PackageMode = mode;
  PackageFileNum.Close();
  PackageFileName = fileName;
  PackageDir.clear();
  PackageLimit = 0;
  PackageRecordState = RecordState::None;
  PackageRecord = {};
  switch (mode) {
    case kModePackageFile:
      PackageHeader = RigboxHeader{};
      return OpenPackageFile(fileName);
    case kModeAppended:
      PackageHeader = RigboxHeader{};
      return OpenAppendedPackage(fileName);
    case kModeCreate:
      if (gCreate != nullptr) {
        createFailed = !gCreate(fileName, carId, flags);
        return !createFailed;
      }
      [[fallthrough]];  // a program that makes no packages knows no such mode
    default:
      return Fail(FailureKind::Misuse, kErrInvalidCall, "Unknown package mode " + support::DecimalText(mode));
  }
}

namespace {

bool FinishCreatedPackage() {
  // One past the last stored byte; taken from EndPos rather than the file's
  // position so that a file whose copy failed halfway leaves no gap.
  PackageHeader.DirPos = PackageHeader.EndPos + 1;
  // A file whose copy failed halfway left bytes past EndPos.
  if (!PackageFileNum.SetLength(PackageHeader.EndPos) || !PackageFileNum.Seek(PackageHeader.EndPos)) {
    return FailOs("Cannot write the directory of", PackageFileName);
  }
  for (const RigboxEntry& entry : PackageDir) {
    auto bytes = SerializeRigboxEntry(entry);
    if (!PackageFileNum.WriteAll(bytes.data(), bytes.size())) {
      return FailOs("Cannot write the directory of", PackageFileName);
    }
    PackageHeader.EndPos += static_cast<int32_t>(RigboxEntry::kSize);
  }
  return WriteHeader();
}

}  // namespace

void EnablePackageCreation() {
  gCreate = CreatePackage;
  gFinish = FinishCreatedPackage;
}

bool ClosePackage() {
  bool ok = true;
  if (PackageMode == kModeCreate) {
    // An unfinished creation is not made to look like a package; the
    // reason stays the open's.
    if (createFailed) {
      ok = false;
    } else if (PackageFileNum.IsOpen()) {
      ok = gFinish();
    }
    createFailed = false;
  }
  if (!PackageFileNum.Close() && ok) ok = FailOs("Cannot close", PackageFileName);
  return ok;
}

bool CheckPackageFile(const std::string& fileName) {
  bool opened = OpenPackage(kModePackageFile, fileName, "", 0);
  ClosePackage();
  return opened;
}

bool CheckAppendedPackage(const std::string& fileName) {
  bool opened = OpenPackage(kModeAppended, fileName, "", 0);
  ClosePackage();
  return opened;
}

std::string GetPackageCarID() { return std::string(PackageHeader.CarID.data(), PackageHeader.CarID.size()); }

namespace {

bool CheckNewEntryName(const std::string& subFolder, const std::string& fileName) {
  std::string shown = PrintableName(subFolder.empty() ? fileName : subFolder + "\\" + fileName);
  if (const char* problem = SubFolderProblem(subFolder)) {
    return Fail(FailureKind::BadName, platform::kErrBadFileName,
                "Cannot store \"" + shown + "\", its folder name " + problem);
  }
  if (const char* problem = FileNameProblem(fileName)) {
    return Fail(FailureKind::BadName, platform::kErrBadFileName,
                "Cannot store \"" + shown + "\", its file name " + problem);
  }
  return true;
}

}  // namespace

bool AddPackageFile(const std::string& sourcePath, const std::string& subFolder,
                    const std::string& fileName) {
  if (PackageMode != kModeCreate || !PackageFileNum.IsOpen()) {
    return Fail(FailureKind::Misuse, kErrInvalidCall, "Cannot add", sourcePath,
                ", no package is being created");
  }
  if (!CheckNewEntryName(subFolder, fileName)) return false;
  if (PackageHeader.FileCount == kMaxFileCount) {
    return Fail(FailureKind::TooBig, kFormatError, "Cannot add", sourcePath,
                ", a package holds at most 32767 files");
  }
  platform::File source;
  if (!source.Open(sourcePath, platform::OpenMode::Read)) return FailOs("Cannot open", sourcePath);
  int64_t size = source.Size();
  if (size < 0) return FailOs("Cannot read the length of", sourcePath);
  // Positions are 32-bit: the data, and the directory after it, must fit.
  int64_t directory = static_cast<int64_t>(RigboxEntry::kSize) * (PackageHeader.FileCount + 1);
  if (PackageHeader.EndPos + size + directory > kMaxPosition) {
    return Fail(FailureKind::TooBig, kFormatError, "Cannot add", sourcePath,
                ", a package must stay below 2 GiB");
  }

  RigboxEntry entry;
  entry.Size = static_cast<int32_t>(size);
  entry.Position = PackageHeader.EndPos + 1;
  SetEntrySubFolder(entry, subFolder);
  SetEntryFileName(entry, fileName);
  std::vector<uint8_t> buffer;
  if (!PackageFileNum.Seek(PackageHeader.EndPos)) return FailOs("Cannot write to", PackageFileName);
  switch (CopyChunks(source, PackageFileNum, size, buffer)) {
    case CopyResult::ReadFailed:
      return FailOs("Cannot read", sourcePath);
    case CopyResult::WriteFailed:
      return FailOs("Cannot write to", PackageFileName);
    case CopyResult::Done:
      break;
  }
  PackageDir.push_back(entry);
  PackageHeader.FileCount = static_cast<int16_t>(PackageHeader.FileCount + 1);
  PackageHeader.EndPos = static_cast<int32_t>(PackageHeader.EndPos + size);
  return true;
}

}  // namespace modRIGBOX
