// Shared pieces of the rigbox tool's commands: exit codes, the small option
// parser, and opening a package in whichever form a file holds it.
#pragma once

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace rigbox_tool {

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;
inline constexpr int kExitUsage = 2;

// One command's arguments: options with a value, flags, positionals.
struct Arguments {
  std::map<std::string, std::string> Options;
  bool Help = false;
  std::vector<std::string> Positionals;
};

// Splits args by the options a command knows (all of them take a value);
// "--help" and "-h" set Help. Nothing on an unknown option or a missing
// value, after telling why on stderr.
std::optional<Arguments> ParseArguments(const std::string& command, const std::vector<std::string>& args,
                                        const std::set<std::string>& valueOptions);

// Prints "rigbox <command>: <message>" and the usage hint on stderr.
int UsageError(const std::string& command, const std::string& message);
// Prints "rigbox: <message>" on stderr.
int Failure(const std::string& message);
// Failure with the package module's LastErrText, led by the file's name
// when the text does not name it already (the format's own texts).
int PackageFailure(const std::string& path);

// Opens path as a package file (mode 1) or, failing that, as a program with
// an appended package (mode 2). On failure prints why and returns false;
// the package module is closed again then.
bool OpenAnyPackage(const std::string& path);

#ifdef _WIN32
// The command line as UTF-8, read through the wide API, and std::cout and
// std::cerr set to show UTF-8 on a console and to write it, with CR LF line
// ends, to a file or pipe. EndWindowsConsole writes what is left.
std::vector<std::string> StartWindowsConsole();
void EndWindowsConsole();
#endif

int RunPack(const std::vector<std::string>& args);
int RunList(const std::vector<std::string>& args);
int RunExtract(const std::vector<std::string>& args);
int RunVerify(const std::vector<std::string>& args);
int RunSfx(const std::vector<std::string>& args);

}  // namespace rigbox_tool
