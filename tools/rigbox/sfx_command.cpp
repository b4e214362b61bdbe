// rigbox sfx: an installer program with a package appended, the form the
// installer reads its car from.
#include <algorithm>
#include <cstdint>
#include <iostream>
#include <vector>

#include "cli.h"
#include "output_file.h"
#include "package/rigbox.h"
#include "package_checks.h"
#include "support/platform.h"
#include "support/tools.h"

namespace rigbox_tool {
namespace {

constexpr const char* kSfxUsage =
    "Usage: rigbox sfx --for windows|linux [--allow-missing-scripts] -o OUT PACKAGE\n"
    "       rigbox sfx --stub STUB [--allow-missing-scripts] -o OUT PACKAGE\n"
    "\n"
    "Writes OUT: the installer program, then the package file PACKAGE, then a\n"
    "4-byte trailer holding the file position of the package (the program's\n"
    "length + 1). OUT gets the program's permissions, so an executable\n"
    "program gives an executable OUT. PACKAGE must pass \"rigbox verify\" and\n"
    "hold each of the car scripts Cars.scr, Parts.scr, Texts.scr and Icons.scr\n"
    "in the car's folder; OUT is written as OUT.part first.\n"
    "\n"
    "  --for SYSTEM  the installer for players on SYSTEM, from the release\n"
    "                bundle this rigbox came in: windows/rigbox-extract.exe or\n"
    "                linux/rigbox-extract beside rigbox's own folder\n"
    "  --stub STUB   the installer program to use instead (wins over --for)\n"
    "  --allow-missing-scripts\n"
    "                only warn of each car script the package lacks\n"
    "  -o OUT        the self-extracting installer to write\n";

constexpr int64_t kMaxInstaller = INT32_MAX;

Error CannotRead(const std::string& path) { return SystemError("Cannot read " + Quoted(path)); }

// Appends the whole of from to out, which is shown as outName.
Status CopyInto(platform::File& out, const std::string& outName, const std::string& from) {
  platform::File in;
  if (!in.Open(from, platform::OpenMode::Read)) return CannotRead(from);
  int64_t left = in.Size();
  if (left < 0) return CannotRead(from);
  std::vector<char> buffer(size_t{1} << 20);
  while (left > 0) {
    size_t chunk = static_cast<size_t>(std::min<int64_t>(left, static_cast<int64_t>(buffer.size())));
    if (!in.ReadExact(buffer.data(), chunk)) return CannotRead(from);
    if (!out.WriteAll(buffer.data(), chunk)) return SystemError("Cannot write " + Quoted(outName));
    left -= static_cast<int64_t>(chunk);
  }
  return Done{};
}

Result<int64_t> SizeOf(const std::string& path) {
  platform::File file;
  int64_t size = file.Open(path, platform::OpenMode::Read) ? file.Size() : -1;
  if (size < 0) return CannotRead(path);
  return size;
}

// The stub, the package and the trailer, in the file at path; stops at the
// first failure.
Status WriteParts(const std::string& path, const std::string& stub, const std::string& package,
                  uint32_t headerPos) {
  platform::File out;
  if (!out.Open(path, platform::OpenMode::Write)) return SystemError("Cannot create " + Quoted(path));
  unsigned char trailer[4];
  for (size_t i = 0; i < sizeof trailer; ++i)
    trailer[i] = static_cast<unsigned char>((headerPos >> (8 * i)) & 0xFF);
  Status status = CopyInto(out, path, stub);
  if (status) status = CopyInto(out, path, package);
  if (status && !out.WriteAll(trailer, sizeof trailer)) status = SystemError("Cannot write " + Quoted(path));
  if (!out.Close() && status) status = SystemError("Cannot write " + Quoted(path));
  return status;
}

// Writes the installer beside outPath and puts it in place only when whole.
Status WriteInstaller(const std::string& stub, const std::string& package, const std::string& outPath) {
  auto stubSize = SizeOf(stub);
  if (!stubSize) return stubSize.Error();
  auto packageSize = SizeOf(package);
  if (!packageSize) return packageSize.Error();
  // Positions in the installer are 32-bit signed.
  if (*stubSize + *packageSize + 4 > kMaxInstaller) return Error("The installer would not stay below 2 GiB");

  auto headerPos = static_cast<uint32_t>(*stubSize + 1);
  std::string temporary = TemporaryPath(outPath);
  Status written = WriteParts(temporary, stub, package, headerPos);
  if (!written) {
    platform::DeleteFile(temporary);
    return written;
  }
  Status published = Publish(temporary, outPath);
  if (!published) return published;
  if (!platform::CopyPermissions(stub, outPath)) {
    return SystemError("Cannot set the permissions of " + Quoted(outPath));
  }
  std::cout << "Wrote " << outPath << ": package at file position " << headerPos << "\n";
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

Status Sfx(const std::vector<std::string>& args) {
  auto parsed = ParseArguments(args, {"--for", "--stub", "-o"}, {"--allow-missing-scripts"});
  if (!parsed) return parsed.Error();
  if (parsed->Help) return ShowUsage(kSfxUsage);
  bool hasFor = parsed->Options.count("--for") != 0;
  std::string system = hasFor ? parsed->Options["--for"] : "";
  if (hasFor && system != "windows" && system != "linux") return UsageError("--for takes windows or linux");
  if (!hasFor && parsed->Options.count("--stub") == 0) return UsageError("--for or --stub is required");
  if (parsed->Options.count("-o") == 0) return UsageError("-o is required");
  if (parsed->Positionals.size() != 1) return UsageError("expects one package file");
  std::string out = parsed->Options["-o"];
  std::string package = parsed->Positionals[0];

  auto stub = ChooseStub(*parsed);
  if (!stub) return stub.Error();
  // Players get only a package that verify passes.
  Status checked = CheckPackage(package, parsed->Flags.count("--allow-missing-scripts") != 0);
  if (!checked) return checked;
  for (const std::string& path : {out, TemporaryPath(out)}) {
    Status writable = CheckOutputPath(path);
    if (!writable) return writable;
  }
  if (platform::SameFile(out, *stub) || platform::SameFile(out, package)) {
    return Error("OUT must differ from STUB and PACKAGE");
  }
  return WriteInstaller(*stub, package, out);
}

}  // namespace

Status MakeInstaller(const std::vector<std::string>& sfxArgs) { return Sfx(sfxArgs); }

int RunSfx(const std::vector<std::string>& args) { return Finish("sfx", Sfx(args)); }

}  // namespace rigbox_tool
