// rigbox sfx: an installer program with a package appended, the form the
// installer reads its car from.
#include <array>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <vector>

#include "cli.h"
#include "package/rigbox.h"

namespace fs = std::filesystem;

namespace rigbox_tool {
namespace {

constexpr const char* kSfxUsage =
    "Usage: rigbox sfx --stub STUB -o OUT PACKAGE\n"
    "\n"
    "Writes OUT: the program STUB, then the package file PACKAGE, then a 4-byte\n"
    "trailer holding the file position of the package (STUB's length + 1).\n"
    "OUT gets STUB's permissions, so an executable stub gives an executable OUT.\n"
    "\n"
    "  --stub STUB   the installer program\n"
    "  -o OUT        the self-extracting installer to write\n";

constexpr int64_t kMaxInstaller = INT32_MAX;

bool CopyInto(std::ofstream& out, const fs::path& from) {
  std::ifstream in(from, std::ios::binary);
  std::vector<char> buffer(size_t{1} << 20);
  while (in) {
    in.read(buffer.data(), static_cast<std::streamsize>(buffer.size()));
    if (in.gcount() > 0) out.write(buffer.data(), in.gcount());
  }
  return in.eof() && out.good();
}

int WriteInstaller(const fs::path& stub, const fs::path& package, const fs::path& outPath) {
  std::error_code code;
  auto stubSize = static_cast<int64_t>(fs::file_size(stub, code));
  if (code) return Failure("Cannot read \"" + stub.string() + "\": " + code.message());
  auto packageSize = static_cast<int64_t>(fs::file_size(package, code));
  if (code) return Failure("Cannot read \"" + package.string() + "\": " + code.message());
  // Positions in the installer are 32-bit signed.
  if (stubSize + packageSize + 4 > kMaxInstaller) return Failure("The installer would not stay below 2 GiB");

  std::ofstream out(outPath, std::ios::binary | std::ios::trunc);
  if (!out) return Failure("Cannot create \"" + outPath.string() + "\"");
  auto headerPos = static_cast<uint32_t>(stubSize + 1);
  std::array<char, 4> trailer{};
  for (size_t i = 0; i < trailer.size(); ++i) trailer[i] = static_cast<char>((headerPos >> (8 * i)) & 0xFF);
  bool ok = CopyInto(out, stub) && CopyInto(out, package);
  out.write(trailer.data(), trailer.size());
  out.close();
  if (!ok || !out) {
    fs::remove(outPath, code);
    return Failure("Cannot write \"" + outPath.string() + "\"");
  }
  fs::permissions(outPath, fs::status(stub).permissions(), fs::perm_options::replace, code);
  if (code) return Failure("Cannot set the permissions of \"" + outPath.string() + "\": " + code.message());
  std::cout << "Wrote " << outPath.string() << ": package at file position " << headerPos << "\n";
  return kExitOk;
}

}  // namespace

int RunSfx(const std::vector<std::string>& args) {
  auto parsed = ParseArguments("sfx", args, {"--stub", "-o"});
  if (!parsed) return kExitUsage;
  if (parsed->Help) {
    std::cout << kSfxUsage;
    return kExitOk;
  }
  if (parsed->Options.count("--stub") == 0) return UsageError("sfx", "--stub is required");
  if (parsed->Options.count("-o") == 0) return UsageError("sfx", "-o is required");
  if (parsed->Positionals.size() != 1) return UsageError("sfx", "expects one package file");
  fs::path stub = parsed->Options["--stub"];
  fs::path out = parsed->Options["-o"];
  std::string package = parsed->Positionals[0];

  // Only a package file that opens goes into an installer.
  if (!modRIGBOX::CheckPackageFile(package)) return PackageFailure(package);
  std::error_code code;
  if (fs::exists(out) && (fs::equivalent(out, stub, code) || fs::equivalent(out, package, code))) {
    return Failure("OUT must differ from STUB and PACKAGE");
  }
  return WriteInstaller(stub, package, out);
}

}  // namespace rigbox_tool
