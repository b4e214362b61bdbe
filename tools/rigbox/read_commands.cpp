// The commands that read a package: list, extract, verify.
#include <algorithm>
#include <cstdio>
#include <iostream>
#include <utility>

#include "cli.h"
#include "package/rigbox.h"
#include "package/safe_names.h"
#include "package_checks.h"
#include "support/text_format.h"

namespace rigbox_tool {
namespace {

constexpr const char* kListUsage =
    "Usage: rigbox list FILE\n"
    "\n"
    "Shows the header of the package in FILE and one line per stored file:\n"
    "its folder (\".\" for the car's own folder), name, size and position.\n"
    "FILE is a package file or a program with a package appended; for an\n"
    "installer made by sfx, also its record: the package's checksum, whether\n"
    "the package still matches it, and the car's name, version and author.\n";

constexpr const char* kExtractUsage =
    "Usage: rigbox extract FILE DEST\n"
    "\n"
    "Writes every file of the package in FILE below the folder DEST, creating\n"
    "folders as needed and replacing files of the same name, as the installer\n"
    "does. A package that fails any check the installer makes writes nothing.\n";

constexpr const char* kVerifyUsage =
    "Usage: rigbox verify FILE\n"
    "\n"
    "Checks the package in FILE as extraction would, without writing anything:\n"
    "in an installer, every byte against the checksum sfx recorded; then\n"
    "the header, the directory's place, each file's bytes and names; that no\n"
    "two names differ only in letter case; and that the car ID is exactly 3\n"
    "characters, each A to Y (no Z), 0 to 9 or _, and none of the game's own\n"
    "IDs. Warns of each of the car scripts Cars.scr, Parts.scr, Texts.scr and\n"
    "Icons.scr that the car's folder lacks.\n";

// The arguments of a command that takes count positionals and no options.
Result<Arguments> Positionals(const std::vector<std::string>& args, size_t count) {
  auto parsed = ParseArguments(args, {});
  if (parsed && !parsed->Help && parsed->Positionals.size() != count) {
    return UsageError("expects " + Counted(static_cast<int64_t>(count), "argument"));
  }
  return parsed;
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

// The record an installer made by sfx carries before its package, and
// whether the package still matches its checksum.
void PrintRecord() {
  using modRIGBOX::RecordState;
  if (!modRIGBOX::PackageInExe) return;
  std::cout << "Record:    ";
  const modRIGBOX::InstallerRecord& record = modRIGBOX::PackageRecord;
  switch (modRIGBOX::PackageRecordState) {
    case RecordState::None:
      std::cout << "none (an installer made without a checksum)\n";
      return;
    case RecordState::Damaged:
      std::cout << "damaged\n";
      return;
    case RecordState::Found:
      break;
  }
  bool matches = modRIGBOX::CheckPackageIntegrity(nullptr, nullptr);
  std::cout << "CRC-32C " << support::HexText(record.PackageCrc, 8) << " of "
            << Counted(record.PackageLength, "byte")
            << (matches ? ", matches" : ", differs: the installer is damaged") << "\n";
  const std::pair<const char*, const std::string*> details[] = {
      {"Name:      ", &record.Name}, {"Version:   ", &record.Version}, {"Author:    ", &record.Author}};
  for (const auto& [label, value] : details)
    if (!value->empty()) std::cout << label << *value << "\n";
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
Status WithPackage(const std::string& path, Body body) {
  Status opened = OpenAnyPackage(path);
  if (!opened) return opened;
  Status result = body();
  modRIGBOX::ClosePackage();
  return result;
}

Status List(const std::vector<std::string>& args) {
  auto parsed = Positionals(args, 1);
  if (!parsed) return parsed.Error();
  if (parsed->Help) return ShowUsage(kListUsage);
  const std::string& path = parsed->Positionals[0];
  return WithPackage(path, [&]() -> Status {
    std::vector<modRIGBOX::RigboxEntry> entries;
    if (!modRIGBOX::ReadPackageDirectory(entries)) return PackageError(path);
    PrintHeader(path);
    PrintRecord();
    PrintEntries(entries);
    return Done{};
  });
}

// Extracts as the installer does, which takes names that verify refuses.
Status Extract(const std::vector<std::string>& args) {
  auto parsed = Positionals(args, 2);
  if (!parsed) return parsed.Error();
  if (parsed->Help) return ShowUsage(kExtractUsage);
  const std::string& path = parsed->Positionals[0];
  return WithPackage(path, [&]() -> Status {
    std::string dest = parsed->Positionals[1];
    if (!modRIGBOX::ExtractPackage(dest)) return PackageError(path);
    std::cout << Counted(modRIGBOX::PackageHeader.FileCount, "file") << " written below "
              << parsed->Positionals[1] << "\n";
    return Done{};
  });
}

Status Verify(const std::vector<std::string>& args) {
  auto parsed = Positionals(args, 1);
  if (!parsed) return parsed.Error();
  if (parsed->Help) return ShowUsage(kVerifyUsage);
  const std::string& path = parsed->Positionals[0];
  return WithPackage(path, [&]() -> Status {
    auto entries = VerifyOpenPackage(path);
    if (!entries) return entries.Error();
    int64_t bytes = 0;
    for (const auto& entry : *entries) bytes += entry.Size;
    bool checked = modRIGBOX::PackageInExe && modRIGBOX::PackageRecordState == modRIGBOX::RecordState::Found;
    std::cout << path << ": OK, " << Counted(static_cast<int64_t>(entries->size()), "file") << ", "
              << Counted(bytes, "byte") << ", car ID \""
              << modRIGBOX::PrintableName(modRIGBOX::GetPackageCarID()) << "\""
              << (checked ? ", checksum matches" : "") << "\n";
    WarnOfMissingCarScripts(path, TopLevelNames(*entries));
    return Done{};
  });
}

}  // namespace

int RunList(const std::vector<std::string>& args) { return Finish("list", List(args)); }
int RunExtract(const std::vector<std::string>& args) { return Finish("extract", Extract(args)); }
int RunVerify(const std::vector<std::string>& args) { return Finish("verify", Verify(args)); }

}  // namespace rigbox_tool
