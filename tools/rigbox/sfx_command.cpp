// rigbox sfx: an installer program with a package appended, the form the
// installer reads its car from.
#include <algorithm>
#include <cstdint>
#include <iostream>
#include <optional>
#include <utility>
#include <vector>

#include "cli.h"
#include "output_file.h"
#include "package/rigbox.h"
#include "package_checks.h"
#include "pe_resources.h"
#include "sha256.h"
#include "support/crc32c.h"
#include "support/platform.h"
#include "support/tools.h"

namespace rigbox_tool {
namespace {

constexpr const char* kSfxUsage =
    "Usage: rigbox sfx --for windows|linux [OPTIONS] -o OUT PACKAGE\n"
    "       rigbox sfx --stub STUB [OPTIONS] -o OUT PACKAGE\n"
    "\n"
    "Writes OUT: the installer program, a record of the package's checksum\n"
    "and the car's details, the package file PACKAGE, then a 4-byte trailer\n"
    "holding the file position of the package. The installer checks every\n"
    "byte of the package against the checksum before it writes anything.\n"
    "OUT gets the program's permissions, so an executable program gives an\n"
    "executable OUT. PACKAGE must pass \"rigbox verify\" and hold each of the\n"
    "car scripts Cars.scr, Parts.scr, Texts.scr and Icons.scr in the car's\n"
    "folder; OUT is written as OUT.part first. Ends by printing OUT's size\n"
    "and SHA-256, for the release notes.\n"
    "\n"
    "  --for SYSTEM    the installer for players on SYSTEM, from the release\n"
    "                  bundle this rigbox came in: windows/rigbox-extract.exe\n"
    "                  or linux/rigbox-extract beside rigbox's own folder\n"
    "  --stub STUB     the installer program to use instead (wins over --for)\n"
    "  --name TEXT     the car's name\n"
    "  --version TEXT  the car's version\n"
    "  --author TEXT   the car's author\n"
    "                  (each at most 255 bytes of UTF-8; the installer's\n"
    "                  --version shows them, and so do the Windows\n"
    "                  installer's file properties)\n"
    "  --icon FILE     the Windows installer's icon, from an .ico file\n"
    "  --allow-missing-scripts\n"
    "                  only warn of each car script the package lacks\n"
    "  -o OUT          the self-extracting installer to write\n";

constexpr int64_t kMaxInstaller = INT32_MAX;
constexpr size_t kMaxDetail = 255;

Error CannotRead(const std::string& path) { return SystemError("Cannot read " + Quoted(path)); }

// Reads the whole of path, for the program and the icon (both small).
Result<std::vector<uint8_t>> ReadWhole(const std::string& path) {
  platform::File in;
  int64_t size = in.Open(path, platform::OpenMode::Read) ? in.Size() : -1;
  if (size < 0 || size > kMaxInstaller) return CannotRead(path);
  std::vector<uint8_t> bytes(static_cast<size_t>(size));
  if (!in.ReadExact(bytes.data(), bytes.size())) return CannotRead(path);
  return bytes;
}

// Passes every chunk of the file at path to use, in order.
template <typename Use>
Status EachChunk(const std::string& path, Use use) {
  platform::File in;
  if (!in.Open(path, platform::OpenMode::Read)) return CannotRead(path);
  int64_t left = in.Size();
  if (left < 0) return CannotRead(path);
  std::vector<uint8_t> buffer(size_t{1} << 20);
  while (left > 0) {
    size_t chunk = static_cast<size_t>(std::min<int64_t>(left, static_cast<int64_t>(buffer.size())));
    if (!in.ReadExact(buffer.data(), chunk)) return CannotRead(path);
    Status used = use(buffer.data(), chunk);
    if (!used) return used;
    left -= static_cast<int64_t>(chunk);
  }
  return Done{};
}

// The program, the record, the package and the trailer, in the file at
// path, each byte also into sha256; stops at the first failure.
Status WriteParts(const std::string& path, const std::vector<uint8_t>& stub,
                  const std::vector<uint8_t>& record, const std::string& package, uint32_t headerPos,
                  Sha256& sha256) {
  platform::File out;
  if (!out.Open(path, platform::OpenMode::Write)) return SystemError("Cannot create " + Quoted(path));
  auto write = [&](const void* data, size_t size) -> Status {
    sha256.Update(data, size);
    if (out.WriteAll(data, size)) return Done{};
    return SystemError("Cannot write " + Quoted(path));
  };
  unsigned char trailer[4];
  for (size_t i = 0; i < sizeof trailer; ++i)
    trailer[i] = static_cast<unsigned char>((headerPos >> (8 * i)) & 0xFF);
  Status status = write(stub.data(), stub.size());
  if (status) status = write(record.data(), record.size());
  if (status) status = EachChunk(package, write);
  if (status) status = write(trailer, sizeof trailer);
  if (!out.Close() && status) status = SystemError("Cannot write " + Quoted(path));
  return status;
}

// The record's length and checksum of the package.
Status AddChecksum(const std::string& package, modRIGBOX::InstallerRecord& record) {
  int64_t length = 0;
  Status read = EachChunk(package, [&](const uint8_t* data, size_t size) -> Status {
    record.PackageCrc = support::Crc32c(record.PackageCrc, data, size);
    length += static_cast<int64_t>(size);
    return Done{};
  });
  record.PackageLength = static_cast<uint32_t>(length);
  return read;
}

// Writes the installer beside outPath and puts it in place only when whole.
Status WriteInstaller(const std::vector<uint8_t>& stub, const std::string& stubPath,
                      const std::string& package, modRIGBOX::InstallerRecord record,
                      const std::string& outPath) {
  Status summed = AddChecksum(package, record);
  if (!summed) return summed;
  std::vector<uint8_t> recordBytes = modRIGBOX::SerializeInstallerRecord(record);
  // Positions in the installer are 32-bit signed.
  int64_t size = static_cast<int64_t>(stub.size() + recordBytes.size()) + record.PackageLength + 4;
  if (size > kMaxInstaller) return Error("The installer would not stay below 2 GiB");

  auto headerPos = static_cast<uint32_t>(stub.size() + recordBytes.size() + 1);
  std::string temporary = TemporaryPath(outPath);
  Sha256 sha256;
  Status written = WriteParts(temporary, stub, recordBytes, package, headerPos, sha256);
  if (!written) {
    platform::DeleteFile(temporary);
    return written;
  }
  Status published = Publish(temporary, outPath);
  if (!published) return published;
  if (!platform::CopyPermissions(stubPath, outPath)) {
    return SystemError("Cannot set the permissions of " + Quoted(outPath));
  }
  std::optional<std::string> digest = sha256.HexDigest();
  if (!digest) return Error("This system offers no SHA-256 for " + Quoted(outPath));
  std::cout << "Wrote " << outPath << ": package at file position " << headerPos << "\n"
            << "Size:    " << Counted(size, "byte") << "\n"
            << "SHA-256: " << *digest << "\n";
  return Done{};
}

// Text the record and the version resource can hold: UTF-8 without control
// characters, at most kMaxDetail bytes.
Status CheckDetail(const std::string& option, const std::string& text) {
  if (text.size() > kMaxDetail) return UsageError(option + " takes at most 255 bytes");
  for (size_t i = 0; i < text.size();) {
    auto lead = static_cast<uint8_t>(text[i]);
    size_t length = lead < 0x80                   ? 1
                    : lead >= 0xC2 && lead < 0xE0 ? 2
                    : lead >= 0xE0 && lead < 0xF0 ? 3
                    : lead >= 0xF0 && lead < 0xF5 ? 4
                                                  : 0;
    bool valid = length != 0 && i + length <= text.size() && lead >= 0x20 && lead != 0x7F;
    for (size_t k = 1; valid && k < length; ++k) valid = (static_cast<uint8_t>(text[i + k]) & 0xC0) == 0x80;
    if (!valid) return UsageError(option + " takes UTF-8 text without control characters");
    i += length;
  }
  return Done{};
}

// Where the release bundle keeps the installer for players on system:
// <bundle>/<system>/<program>, rigbox itself being <bundle>/<its system>/rigbox.
std::string BundledStub(const std::string& system) {
  std::string self = platform::ExecutablePath();
  auto lastSeparator = [](const std::string& path) {
    auto found = std::find_if(path.rbegin(), path.rend(), platform::IsSeparator);
    return found == path.rend() ? std::string::npos : static_cast<size_t>(path.rend() - found - 1);
  };
  size_t folderEnd = lastSeparator(self);
  if (folderEnd == std::string::npos) return "";
  std::string bundle = self.substr(0, folderEnd);
  size_t bundleEnd = lastSeparator(bundle);
  bundle = bundleEnd == std::string::npos ? bundle + platform::kPreferredSeparator + ".."
                                          : bundle.substr(0, bundleEnd);
  const char* program = system == "windows" ? "rigbox-extract.exe" : "rigbox-extract";
  return bundle + platform::kPreferredSeparator + system + platform::kPreferredSeparator + program;
}

// The package file, checked as verify checks it, before anything is written;
// a car script it lacks is refused, or only warned of when allowMissing.
Status CheckPackage(const std::string& package, bool allowMissing) {
  auto entries = modRIGBOX::OpenPackage(modRIGBOX::kModePackageFile, package, "", 0)
                     ? VerifyOpenPackage(package)
                     : Result<std::vector<modRIGBOX::RigboxEntry>>(PackageError(package));
  modRIGBOX::ClosePackage();
  if (!entries) return entries.Error();
  std::vector<std::string> topLevel = TopLevelNames(*entries);
  std::vector<std::string> missing = MissingCarScripts(topLevel);
  if (allowMissing || missing.empty()) {
    WarnOfMissingCarScripts(package, topLevel);
    return Done{};
  }
  std::string names;
  for (size_t i = 0; i < missing.size(); ++i) {
    names += (i == 0 ? "" : i + 1 == missing.size() ? " and " : ", ") + missing[i];
  }
  return Error(
      Quoted(package) + " lacks " + names +
      ", which the installer registers with the game; --allow-missing-scripts makes the installer all "
      "the same");
}

Result<std::string> ChooseStub(Arguments& parsed) {
  if (parsed.Options.count("--stub") != 0) return parsed.Options["--stub"];
  std::string system = parsed.Options["--for"];
  std::string stub = BundledStub(system);
  if (stub.empty()) {
    return Error("Cannot tell which folder rigbox runs from (" + platform::LastError().Description +
                 "); give the installer program with --stub");
  }
  if (!modTools::FileExists(stub)) {
    return Error("No installer program for " + system + " players at " + Quoted(stub) +
                 ", where the release bundle keeps it; give one with --stub STUB");
  }
  return stub;
}

// The Windows program with the car's details in its version resource and,
// with --icon, the car's icon; any other program as it is.
Result<std::vector<uint8_t>> CarsOwnProgram(const std::string& stubPath, std::vector<uint8_t> stub,
                                            const modRIGBOX::InstallerRecord& details, Arguments& parsed) {
  bool windows = stub.size() >= 2 && stub[0] == 'M' && stub[1] == 'Z';
  std::optional<InputFile> icon;
  if (parsed.Options.count("--icon") != 0) {
    if (!windows)
      return Error(Quoted(stubPath) + " is no Windows program: --icon is for the Windows installer");
    auto bytes = ReadWhole(parsed.Options["--icon"]);
    if (!bytes) return bytes.Error();
    icon = InputFile{parsed.Options["--icon"], std::move(*bytes)};
  }
  if (!windows || (!icon && details.Name.empty() && details.Version.empty() && details.Author.empty()))
    return stub;
  return RebuildStubResources({stubPath, std::move(stub)}, {details.Name, details.Version, details.Author},
                              icon);
}

Status Sfx(const std::vector<std::string>& args) {
  auto parsed = ParseArguments(args, {"--for", "--stub", "-o", "--name", "--version", "--author", "--icon"},
                               {"--allow-missing-scripts"});
  if (!parsed) return parsed.Error();
  if (parsed->Help) return ShowUsage(kSfxUsage);
  bool hasFor = parsed->Options.count("--for") != 0;
  std::string system = hasFor ? parsed->Options["--for"] : "";
  if (hasFor && system != "windows" && system != "linux") return UsageError("--for takes windows or linux");
  if (!hasFor && parsed->Options.count("--stub") == 0) return UsageError("--for or --stub is required");
  if (parsed->Options.count("-o") == 0) return UsageError("-o is required");
  if (parsed->Positionals.size() != 1) return UsageError("expects one package file");
  modRIGBOX::InstallerRecord details;
  for (auto [option, text] : {std::pair{"--name", &details.Name}, std::pair{"--version", &details.Version},
                              std::pair{"--author", &details.Author}}) {
    *text = parsed->Options[option];
    Status valid = CheckDetail(option, *text);
    if (!valid) return valid;
  }
  std::string out = parsed->Options["-o"];
  std::string package = parsed->Positionals[0];

  auto stubPath = ChooseStub(*parsed);
  if (!stubPath) return stubPath.Error();
  // Players get only a package that verify passes.
  Status checked = CheckPackage(package, parsed->Flags.count("--allow-missing-scripts") != 0);
  if (!checked) return checked;
  for (const std::string& path : {out, TemporaryPath(out)}) {
    Status writable = CheckOutputPath(path);
    if (!writable) return writable;
  }
  if (platform::SameFile(out, *stubPath) || platform::SameFile(out, package)) {
    return Error("OUT must differ from STUB and PACKAGE");
  }
  auto stub = ReadWhole(*stubPath);
  if (!stub) return stub.Error();
  auto program = CarsOwnProgram(*stubPath, std::move(*stub), details, *parsed);
  if (!program) return program.Error();
  return WriteInstaller(*program, *stubPath, package, details, out);
}

}  // namespace

Status MakeInstaller(const std::vector<std::string>& sfxArgs) { return Sfx(sfxArgs); }

int RunSfx(const std::vector<std::string>& args) { return Finish("sfx", Sfx(args)); }

}  // namespace rigbox_tool
