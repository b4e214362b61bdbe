// rigbox FOLDER: a car's folder dropped onto the tool becomes the installer
// for this system's players in one step, through pack and sfx themselves.
#include <algorithm>
#include <string>

#include "cli.h"
#include "support/platform.h"

namespace rigbox_tool {
namespace {

#ifdef _WIN32
constexpr const char* kSystem = "windows";
constexpr const char* kInstallerEnding = "-setup.exe";
#else
constexpr const char* kSystem = "linux";
constexpr const char* kInstallerEnding = "-setup";
#endif

// The package lives only as long as the run, in a folder of its own.
Status PackAndAppend(const std::string& folder, const std::string& id) {
  std::string temporaryFolder = platform::MakeTemporaryFolder();
  if (temporaryFolder.empty()) return SystemError("Cannot make a temporary folder for the package");
  std::string package = temporaryFolder + platform::kPreferredSeparator + id + ".rigbox";
  // "--" keeps a name that starts with '-' a name.
  Status made = MakePackage({"--id", id, "-o", package, "--", folder});
  if (made) made = MakeInstaller({"--for", kSystem, "-o", folder + kInstallerEnding, "--", package});
  platform::DeleteFile(package);
  platform::RemoveFolder(temporaryFolder);
  return made;
}

Status Drop(const std::string& dropped) {
  // A shell's completion leaves a separator at the end.
  std::string folder = dropped;
  while (folder.size() > 1 && platform::IsSeparator(folder.back())) folder.pop_back();
  std::string id(std::find_if(folder.rbegin(), folder.rend(), platform::IsSeparator).base(), folder.end());
  Status made = PackAndAppend(folder, id);
  // The ID is the one argument of pack's that the author chose here.
  if (!made && made.Error().ExitStatus() == kExitUsage) {
    return Error(Quoted(dropped) + ": its name cannot be a car ID: " + made.Error().Message());
  }
  return made;
}

}  // namespace

int RunDrop(const std::string& folder) {
  int status = Finish("", Drop(folder));
#ifdef _WIN32
  HoldOwnConsole();
#endif
  return status;
}

}  // namespace rigbox_tool
