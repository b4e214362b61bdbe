// rigbox sfx: an installer program with a package appended, the form the
// installer reads its car from.
#include <algorithm>
#include <cstdint>
#include <iostream>
#include <vector>

#include "cli.h"
#include "package/rigbox.h"
#include "support/platform.h"
#include "support/tools.h"

namespace rigbox_tool {
namespace {

constexpr const char* kSfxUsage =
    "Usage: rigbox sfx --for windows|linux -o OUT PACKAGE\n"
    "       rigbox sfx --stub STUB -o OUT PACKAGE\n"
    "\n"
    "Writes OUT: the installer program, then the package file PACKAGE, then a\n"
    "4-byte trailer holding the file position of the package (the program's\n"
    "length + 1). OUT gets the program's permissions, so an executable\n"
    "program gives an executable OUT.\n"
    "\n"
    "  --for SYSTEM  the installer for players on SYSTEM, from the release\n"
    "                bundle this rigbox came in: windows/rigbox-extract.exe or\n"
    "                linux/rigbox-extract beside rigbox's own folder\n"
    "  --stub STUB   the installer program to use instead (wins over --for)\n"
    "  -o OUT        the self-extracting installer to write\n";

constexpr int64_t kMaxInstaller = INT32_MAX;

std::string CannotRead(const std::string& path) {
  return "Cannot read \"" + path + "\": " + platform::LastError().Description;
}

// Appends the whole of from to out; a message on failure.
std::string CopyInto(platform::File& out, const std::string& from) {
  platform::File in;
  if (!in.Open(from, platform::OpenMode::Read)) return CannotRead(from);
  int64_t left = in.Size();
  std::vector<char> buffer(size_t{1} << 20);
  while (left > 0) {
    size_t chunk = static_cast<size_t>(std::min<int64_t>(left, static_cast<int64_t>(buffer.size())));
    if (!in.ReadExact(buffer.data(), chunk)) return CannotRead(from);
    if (!out.WriteAll(buffer.data(), chunk)) return "";
    left -= static_cast<int64_t>(chunk);
  }
  return left == 0 ? "" : CannotRead(from);
}

int64_t SizeOf(const std::string& path) {
  platform::File file;
  return file.Open(path, platform::OpenMode::Read) ? file.Size() : -1;
}

int WriteInstaller(const std::string& stub, const std::string& package, const std::string& outPath) {
  int64_t stubSize = SizeOf(stub);
  if (stubSize < 0) return Failure(CannotRead(stub));
  int64_t packageSize = SizeOf(package);
  if (packageSize < 0) return Failure(CannotRead(package));
  // Positions in the installer are 32-bit signed.
  if (stubSize + packageSize + 4 > kMaxInstaller) return Failure("The installer would not stay below 2 GiB");

  platform::File out;
  if (!out.Open(outPath, platform::OpenMode::Write)) {
    return Failure("Cannot create \"" + outPath + "\": " + platform::LastError().Description);
  }
  auto headerPos = static_cast<uint32_t>(stubSize + 1);
  unsigned char trailer[4];
  for (size_t i = 0; i < sizeof trailer; ++i)
    trailer[i] = static_cast<unsigned char>((headerPos >> (8 * i)) & 0xFF);
  std::string error = CopyInto(out, stub);
  if (error.empty()) error = CopyInto(out, package);
  bool ok = error.empty() && out.WriteAll(trailer, sizeof trailer);
  if (!ok && error.empty()) error = "Cannot write \"" + outPath + "\": " + platform::LastError().Description;
  if (!out.Close() && ok) {
    ok = false;
    error = "Cannot write \"" + outPath + "\": " + platform::LastError().Description;
  }
  if (!ok) {
    platform::DeleteFile(outPath);
    return Failure(error);
  }
  if (!platform::CopyPermissions(stub, outPath)) {
    return Failure("Cannot set the permissions of \"" + outPath + "\": " + platform::LastError().Description);
  }
  std::cout << "Wrote " << outPath << ": package at file position " << headerPos << "\n";
  return kExitOk;
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

}  // namespace

int RunSfx(const std::vector<std::string>& args) {
  auto parsed = ParseArguments("sfx", args, {"--for", "--stub", "-o"});
  if (!parsed) return kExitUsage;
  if (parsed->Help) {
    std::cout << kSfxUsage;
    return kExitOk;
  }
  bool hasFor = parsed->Options.count("--for") != 0;
  std::string system = hasFor ? parsed->Options["--for"] : "";
  if (hasFor && system != "windows" && system != "linux")
    return UsageError("sfx", "--for takes windows or linux");
  if (!hasFor && parsed->Options.count("--stub") == 0)
    return UsageError("sfx", "--for or --stub is required");
  if (parsed->Options.count("-o") == 0) return UsageError("sfx", "-o is required");
  if (parsed->Positionals.size() != 1) return UsageError("sfx", "expects one package file");
  std::string out = parsed->Options["-o"];
  std::string package = parsed->Positionals[0];

  std::string stub;
  if (parsed->Options.count("--stub") != 0) {
    stub = parsed->Options["--stub"];
  } else {
    stub = BundledStub(system);
    if (stub.empty()) {
      return Failure("Cannot tell which folder rigbox runs from (" + platform::LastError().Description +
                     "); give the installer program with --stub");
    }
    if (!modTools::FileExists(stub)) {
      return Failure("No installer program for " + system + " players at \"" + stub +
                     "\", where the release bundle keeps it; give one with --stub STUB");
    }
  }

  // Only a package file that opens goes into an installer.
  if (!modRIGBOX::CheckPackageFile(package)) return PackageFailure(package);
  if (platform::SameFile(out, stub) || platform::SameFile(out, package)) {
    return Failure("OUT must differ from STUB and PACKAGE");
  }
  return WriteInstaller(stub, package, out);
}

}  // namespace rigbox_tool
