// modRIGBOX: the one reader and writer of RIGBOX packages. It keeps one
// package open at a time in module state; no operation raises an error to
// its caller: each returns false and leaves the reason in LastFailure,
// LastErrNumber and LastErrText.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "package/installer_record.h"
#include "package/rigbox_format.h"
#include "support/failure.h"
#include "support/platform.h"

namespace modRIGBOX {

// Modes of OpenPackage.
inline constexpr int32_t kModeCreate = 0;
inline constexpr int32_t kModePackageFile = 1;
inline constexpr int32_t kModeAppended = 2;

// Makes kModeCreate available. The installer reads packages and never
// makes one: without this call the linker leaves package creation out of
// it, where there is no room to spare.
void EnablePackageCreation();

// The number LastErrNumber holds for a malformed package.
inline constexpr int16_t kFormatError = -1;
inline constexpr const char* kNoRigboxFile = "No RIGBOX File!";
inline constexpr const char* kWrongVersion = "Wrong RIGBOX version";

// Header of the package being written or last read; outlives ClosePackage.
extern RigboxHeader PackageHeader;
// Entries ClosePackage writes in create mode (PackageDir[0] is entry 1).
extern std::vector<RigboxEntry> PackageDir;
extern platform::File PackageFileNum;
extern int32_t PackageMode;
// True in mode 2, where the package is appended to an executable.
extern bool PackageInExe;
// File position of the header from the trailer in mode 2; 0 in mode 1.
extern int32_t HeaderPos;
// -1 for a format error, else the error number of the failure; 0 after a
// successful extraction.
extern int16_t LastErrNumber;
extern std::string LastErrText;
// The same failure as its kind and context, for callers that decide on it
// or say it in their own words.
extern support::Failure LastFailure;

// The file named by the last OpenPackage, for messages.
extern std::string PackageFileName;
// How many bytes from the header on belong to the package at most: up to
// the end of the file in mode 1, up to the trailer in mode 2.
extern int64_t PackageLimit;
// The record before the package, read by OpenPackage in mode 2; the
// record stays empty unless its state is Found.
extern RecordState PackageRecordState;
extern InstallerRecord PackageRecord;

bool OpenPackage(int32_t mode, const std::string& fileName, const std::string& carId, int32_t flags);
bool ClosePackage();
bool CheckPackageFile(const std::string& fileName);
bool CheckAppendedPackage(const std::string& fileName);
// The three characters of the header's CarID, padding included.
std::string GetPackageCarID();

// Create mode: appends the file at sourcePath, copied in chunks, as
// subFolder\fileName of the package (subFolder "" for the car's own folder).
bool AddPackageFile(const std::string& sourcePath, const std::string& subFolder, const std::string& fileName);

// Reads the open package's directory whole, after checking that the file
// holds it; the entries themselves are not checked.
bool ReadPackageDirectory(std::vector<RigboxEntry>& entries);
// ReadPackageDirectory, then every check extraction makes before it writes
// anything: byte ranges inside the data area and the file, sizes, names.
bool VerifyPackage(std::vector<RigboxEntry>& entries);
// Writes every file of the open package below destFolder, which receives a
// trailing separator if it lacked one (modTools::AddBackslash). A package
// that fails VerifyPackage writes nothing. progress(context, done, total),
// when given, follows the bytes written out of the total stored;
// written(context, path, size), when given, hears of each file once it is
// written whole (path inside destFolder, as EntryPath gives it).
using ProgressHook = void (*)(void* context, int64_t done, int64_t total);
using FileHook = void (*)(void* context, const std::string& path, int32_t size);
bool ExtractPackage(std::string& destFolder, ProgressHook progress = nullptr, void* context = nullptr,
                    FileHook written = nullptr);

// Checks every byte of the open package against the checksum of its
// record; true for a package without one. A damaged record or package fails
// with kind Damaged. progress(context, done, total) follows the bytes read.
bool CheckPackageIntegrity(ProgressHook progress, void* context);

// How many bytes of the open installer come before its record and package:
// the program alone.
int64_t ProgramLength();

// What tells this package from another: a digest of the open package's
// header and of its directory (entries), as hexadecimal text.
std::string PackageIdentity(const std::vector<RigboxEntry>& entries);

// Called after each piece of a stored file is read during ExtractPackage,
// so a window blocked by the extraction can keep painting. nullptr: none.
using BusyHook = void (*)(void* context);
void SetBusyHook(BusyHook hook, void* context);
void NoteBusy();

// The characters of text before its first NUL.
std::string CutAtNul(const std::string& text);

}  // namespace modRIGBOX
