// rigbox: makes, inspects and unpacks RIGBOX packages, and turns a package
// into a self-extracting installer.
#include <iostream>
#include <string>
#include <vector>

#include "cli.h"
#include "support/platform.h"
#include "support/version.h"
#ifdef _WIN32
#include "dll_search.h"
#endif

namespace {

constexpr const char* kUsage =
    "Usage: rigbox <command> [options]\n"
    "       rigbox FOLDER\n"
    "       rigbox --version\n"
    "\n"
    "Commands:\n"
    "  pack      make a package from the files below a folder\n"
    "  list      show a package's header and its files\n"
    "  extract   write a package's files below a folder\n"
    "  verify    check a package without writing anything\n"
    "  sfx       append a package to an installer program\n"
    "\n"
    "rigbox FOLDER (or a car's folder dropped onto rigbox) packs the folder with\n"
    "its name as the car ID and writes the installer for this system beside it,\n"
    "FOLDER-setup.exe on Windows and FOLDER-setup on Linux.\n"
    "\n"
    "A package is read from a package file or from a program it is appended to.\n"
    "Run \"rigbox <command> --help\" for a command's options.\n";

int Run(std::vector<std::string> args) {
  if (args.empty()) {
    std::cerr << kUsage;
    return rigbox_tool::kExitUsage;
  }
  std::string command = args.front();
  args.erase(args.begin());
  if (command == "--help" || command == "-h" || command == "help") {
    std::cout << kUsage;
    return rigbox_tool::kExitOk;
  }
  if (command == "--version") {
    std::cout << "rigbox " RIGBOX_VERSION_TEXT "\n";
    return rigbox_tool::kExitOk;
  }
#ifndef _WIN32
  // An author's names are exact; extract alone lays out a package's names
  // as the installer does, folders in any letter case being one.
  if (command != "extract") platform::TakeNamesAsWritten();
#endif
  if (command == "pack") return rigbox_tool::RunPack(args);
  if (command == "list") return rigbox_tool::RunList(args);
  if (command == "extract") return rigbox_tool::RunExtract(args);
  if (command == "verify") return rigbox_tool::RunVerify(args);
  if (command == "sfx") return rigbox_tool::RunSfx(args);
  // Explorer starts the tool with the path of what is dropped onto it alone.
  platform::PathInfo dropped;
  if (args.empty() && platform::GetPathInfo(command, dropped) &&
      dropped.Kind != platform::PathKind::Missing) {
    return rigbox_tool::RunDrop(command);
  }
  std::cerr << "rigbox: unknown command \"" << command << "\"\n\n" << kUsage;
  return rigbox_tool::kExitUsage;
}

}  // namespace

#ifdef _WIN32
// Names come and go in UTF-16, whatever the code page.
int main() {
  win32_frontend::RestrictDllSearch();
  int status = Run(rigbox_tool::StartWindowsConsole());
  rigbox_tool::EndWindowsConsole();
  return status;
}
#else
int main(int argc, char** argv) { return Run(std::vector<std::string>(argv + 1, argv + argc)); }
#endif
