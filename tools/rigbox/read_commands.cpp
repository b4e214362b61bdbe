// The commands that read a package: list, extract, verify.
#include <algorithm>
#include <cstdio>
#include <iostream>

#include "cli.h"
#include "package/rigbox.h"
#include "package/safe_names.h"

namespace rigbox_tool {
namespace {

constexpr const char* kListUsage =
    "Usage: rigbox list FILE\n"
    "\n"
    "Shows the header of the package in FILE and one line per stored file:\n"
    "its folder (\".\" for the car's own folder), name, size and position.\n"
    "FILE is a package file or a program with a package appended.\n";

constexpr const char* kExtractUsage =
    "Usage: rigbox extract FILE DEST\n"
    "\n"
    "Writes every file of the package in FILE below the folder DEST, creating\n"
    "folders as needed and replacing files of the same name. A package that\n"
    "fails any check of \"rigbox verify\" writes nothing.\n";

constexpr const char* kVerifyUsage =
    "Usage: rigbox verify FILE\n"
    "\n"
    "Checks the package in FILE as extraction would, without writing anything:\n"
    "the header, the directory's place, each file's bytes and names.\n";

// Parses a command that takes only positionals; nothing after printing
// help (exit 0) or a usage error (exit 2), with the exit code in exitCode.
std::optional<std::vector<std::string>> Positionals(const std::string& command, const char* usage,
                                                    const std::vector<std::string>& args, size_t count,
                                                    int& exitCode) {
  auto parsed = ParseArguments(command, args, {});
  if (!parsed) {
    exitCode = kExitUsage;
    return std::nullopt;
  }
  if (parsed->Help) {
    std::cout << usage;
    exitCode = kExitOk;
    return std::nullopt;
  }
  if (parsed->Positionals.size() != count) {
    exitCode =
        UsageError(command, "expects " + std::to_string(count) + (count == 1 ? " argument" : " arguments"));
    return std::nullopt;
  }
  return parsed->Positionals;
}

std::string Padded(const std::string& text, size_t width) {
  return text.size() >= width ? text : text + std::string(width - text.size(), ' ');
}

std::string RightAligned(const std::string& text, size_t width) {
  return text.size() >= width ? text : std::string(width - text.size(), ' ') + text;
}

void PrintHeader(const std::string& path) {
  const modRIGBOX::RigboxHeader& header = modRIGBOX::PackageHeader;
  std::string form = modRIGBOX::PackageInExe ? "appended to a program, header at file position " +
                                                   std::to_string(modRIGBOX::HeaderPos)
                                             : "package file";
  std::cout << "File:      " << path << "\n"
            << "Form:      " << form << "\n"
            << "Version:   1.0\n"
            << "Flags:     " << header.Flags << "\n"
            << "FileCount: " << header.FileCount << "\n"
            << "DirPos:    " << header.DirPos << "\n"
            << "EndPos:    " << header.EndPos << "\n"
            << "CarID:     \"" << modRIGBOX::PrintableName(modRIGBOX::GetPackageCarID()) << "\"\n";
}

void PrintEntries(const std::vector<modRIGBOX::RigboxEntry>& entries) {
  size_t nameWidth = 4;
  for (const auto& entry : entries) {
    nameWidth = std::max(nameWidth, modRIGBOX::PrintableName(modRIGBOX::EntryFileName(entry)).size());
  }
  std::cout << "\n"
            << Padded("Folder", 16) << Padded("Name", nameWidth) << RightAligned("Size", 12)
            << RightAligned("Position", 12) << "\n";
  for (const auto& entry : entries) {
    std::string folder = modRIGBOX::EntrySubFolder(entry);
    std::cout << Padded(folder.empty() ? "." : modRIGBOX::PrintableName(folder), 16)
              << Padded(modRIGBOX::PrintableName(modRIGBOX::EntryFileName(entry)), nameWidth)
              << RightAligned(std::to_string(entry.Size), 12)
              << RightAligned(std::to_string(entry.Position), 12) << "\n";
  }
}

// Runs body on the package in path, opened in either form, and closes it.
template <typename Body>
int WithPackage(const std::string& path, Body body) {
  if (!OpenAnyPackage(path)) return kExitFailure;
  int result = body();
  modRIGBOX::ClosePackage();
  return result;
}

}  // namespace

int RunList(const std::vector<std::string>& args) {
  int exitCode = kExitOk;
  auto files = Positionals("list", kListUsage, args, 1, exitCode);
  if (!files) return exitCode;
  return WithPackage((*files)[0], [&] {
    std::vector<modRIGBOX::RigboxEntry> entries;
    if (!modRIGBOX::ReadPackageDirectory(entries)) return PackageFailure((*files)[0]);
    PrintHeader((*files)[0]);
    PrintEntries(entries);
    return kExitOk;
  });
}

int RunExtract(const std::vector<std::string>& args) {
  int exitCode = kExitOk;
  auto files = Positionals("extract", kExtractUsage, args, 2, exitCode);
  if (!files) return exitCode;
  return WithPackage((*files)[0], [&] {
    std::string dest = (*files)[1];
    if (!modRIGBOX::ExtractPackage(dest)) return PackageFailure((*files)[0]);
    std::cout << modRIGBOX::PackageHeader.FileCount << " files written below " << (*files)[1] << "\n";
    return kExitOk;
  });
}

int RunVerify(const std::vector<std::string>& args) {
  int exitCode = kExitOk;
  auto files = Positionals("verify", kVerifyUsage, args, 1, exitCode);
  if (!files) return exitCode;
  return WithPackage((*files)[0], [&] {
    std::vector<modRIGBOX::RigboxEntry> entries;
    if (!modRIGBOX::VerifyPackage(entries)) return PackageFailure((*files)[0]);
    int64_t bytes = 0;
    for (const auto& entry : entries) bytes += entry.Size;
    std::cout << (*files)[0] << ": OK, " << entries.size() << " files, " << bytes << " bytes, car ID \""
              << modRIGBOX::PrintableName(modRIGBOX::GetPackageCarID()) << "\"\n";
    return kExitOk;
  });
}

}  // namespace rigbox_tool
