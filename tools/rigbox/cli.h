// Shared pieces of the rigbox tool's commands: the small option parser,
// the one place failures are reported, and opening a package in whichever
// form a file holds it.
#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "result.h"

namespace rigbox_tool {

// One command's arguments: options with a value, flags, positionals.
struct Arguments {
  std::map<std::string, std::string> Options;
  std::set<std::string> Flags;
  bool Help = false;
  std::vector<std::string> Positionals;
};

// Splits args by the options a command knows, those that take a value and
// the flags; "--help" and "-h" set Help. A usage error on an unknown option
// or a missing value.
Result<Arguments> ParseArguments(const std::vector<std::string>& args,
                                 const std::set<std::string>& valueOptions,
                                 const std::set<std::string>& flags = {});

// A command line the tool cannot follow: exit status kExitUsage.
Error UsageError(const std::string& message);
// what + ": " + the description of the last platform failure.
Error SystemError(const std::string& what);
// The package module's last failure, led by path when the failure does not
// name that file already (the format's own texts, an entry's fault).
Error PackageError(const std::string& path);

// Prints text, a command's usage, on stdout.
Status ShowUsage(const char* text);
// The exit status of a command that ended with status; a failure is told on
// stderr: "rigbox: <message>", or for a usage error "rigbox <command>:
// <message>" and the usage hint.
int Finish(const std::string& command, const Status& status);
// Prints "rigbox: <message>" on stderr, as Finish tells a failure: for
// each of several faults, before the failure that sums them up.
void Complain(const std::string& message);
// Prints "rigbox: warning: <message>" on stderr.
void Warn(const std::string& message);

// A path in quotes, as messages name files.
std::string Quoted(const std::string& path);
// "1 file", "2 files".
std::string Counted(int64_t count, const std::string& noun);

// Opens path as a package file (mode 1) or, failing that, as a program with
// an appended package (mode 2). On failure the package module is closed
// again.
Status OpenAnyPackage(const std::string& path);

#ifdef _WIN32
// The command line as UTF-8, read through the wide API, and std::cout and
// std::cerr set to show UTF-8 on a console and to write it, with CR LF line
// ends, to a file or pipe. EndWindowsConsole writes what is left.
std::vector<std::string> StartWindowsConsole();
void EndWindowsConsole();
// Waits for a key when the console is this program's alone, as Explorer
// gives it to a program a folder is dropped onto: it closes when the
// program ends. A prompt's console stays, so there is nothing to wait for.
void HoldOwnConsole();
#endif

// What pack and sfx do for their arguments, every check included, for a
// caller that reports the outcome itself.
Status MakePackage(const std::vector<std::string>& packArgs);
Status MakeInstaller(const std::vector<std::string>& sfxArgs);

int RunPack(const std::vector<std::string>& args);
int RunList(const std::vector<std::string>& args);
int RunExtract(const std::vector<std::string>& args);
int RunVerify(const std::vector<std::string>& args);
int RunSfx(const std::vector<std::string>& args);
// rigbox FOLDER: the installer for this system's players, beside FOLDER.
int RunDrop(const std::string& folder);

}  // namespace rigbox_tool
