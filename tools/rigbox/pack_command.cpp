// rigbox pack: every regular file below a folder into one package.
#include <algorithm>
#include <charconv>
#include <cstdint>
#include <iostream>

#include "cli.h"
#include "output_file.h"
#include "package/rigbox.h"
#include "package/safe_names.h"
#include "package_checks.h"
#include "support/platform.h"
#include "support/tools.h"

namespace rigbox_tool {
namespace {

constexpr const char* kPackUsage =
    "Usage: rigbox pack --id ID [--flags N] -o OUT DIR\n"
    "\n"
    "Packs every regular file below DIR, in the order of their paths, into the\n"
    "package file OUT (replaced if it exists). Symbolic links are followed. A\n"
    "file in a subfolder keeps that folder, written with backslashes, at most\n"
    "15 characters. No two names may differ only in letter case, as the\n"
    "installer does not tell them apart. OUT is written as OUT.part first.\n"
    "\n"
    "  --id ID     car ID for the header, 1 to 3 printable ASCII characters\n"
    "  --flags N   header flags, -32768 to 32767 (default 0)\n"
    "  -o OUT      the package file to write\n";

struct PackedFile {
  std::string Source;
  std::string Relative;  // with '/' separators, the sort key
  std::string SubFolder;
  std::string FileName;
  platform::PathInfo Info;
};

bool IsPrintableAscii(const std::string& text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return c >= 0x20 && c < 0x7F; });
}

std::optional<int32_t> ParseFlags(const std::string& text) {
  int32_t value = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || value < INT16_MIN || value > INT16_MAX) {
    return std::nullopt;
  }
  return value;
}

std::string Shown(const std::string& relative) { return Quoted(modRIGBOX::PrintableName(relative)); }

// Splits "a/b/c.txt" into the folder "a\b" and the name "c.txt", unless the
// pair cannot be stored.
Status Describe(PackedFile& file) {
  size_t slash = file.Relative.rfind('/');
  file.FileName = slash == std::string::npos ? file.Relative : file.Relative.substr(slash + 1);
  file.SubFolder = slash == std::string::npos ? "" : file.Relative.substr(0, slash);
  std::replace(file.SubFolder.begin(), file.SubFolder.end(), '/', '\\');
  std::string cannot = "Cannot pack " + Shown(file.Relative) + ": ";
  // A backslash in a POSIX name would read as a folder once stored.
  if (file.Relative.find('\\') != std::string::npos) return Error(cannot + "its path has a backslash");
  if (const char* problem = modRIGBOX::SubFolderProblem(file.SubFolder)) {
    return Error(cannot + "its folder name " + problem);
  }
  if (const char* problem = modRIGBOX::FileNameProblem(file.FileName)) {
    return Error(cannot + "its file name " + problem);
  }
  return Done{};
}

// The walk below the packed folder: the folders on the way down, by their
// identity, so a link back up to one of them is found.
struct Walk {
  std::vector<PackedFile> Files;
  std::vector<platform::PathInfo> Ancestors;
};

bool SameNode(const platform::PathInfo& a, const platform::PathInfo& b) {
  return a.Volume == b.Volume && a.Index == b.Index;
}

Status CollectBelow(const std::string& folder, const std::string& relative, Walk& walk);

// One name found in a folder: a file to pack, a folder to walk, or nothing
// (a device, a pipe or a socket has no bytes to store).
Status CollectEntry(const std::string& path, const std::string& relative, Walk& walk) {
  platform::PathInfo info;
  if (!platform::GetPathInfo(path, info)) return SystemError("Cannot read " + Quoted(path));
  if (info.Kind == platform::PathKind::Missing) {
    return Error("Cannot pack " + Shown(relative) + ": it is a symbolic link that leads nowhere");
  }
  if (info.Kind == platform::PathKind::File) walk.Files.push_back({path, relative, "", "", info});
  if (info.Kind != platform::PathKind::Folder) return Done{};
  for (const platform::PathInfo& ancestor : walk.Ancestors) {
    if (SameNode(ancestor, info)) {
      return Error("Cannot pack " + Shown(relative) + ": it leads back to a folder it lies in, a loop");
    }
  }
  walk.Ancestors.push_back(info);
  Status below = CollectBelow(path, relative + "/", walk);
  walk.Ancestors.pop_back();
  return below;
}

// Adds the files below folder, whose path below the packed folder is
// relative ("" or ending with '/').
Status CollectBelow(const std::string& folder, const std::string& relative, Walk& walk) {
  std::vector<platform::FolderEntry> entries;
  if (!platform::ListFolder(folder, entries)) return SystemError("Cannot read the folder " + Quoted(folder));
  for (const platform::FolderEntry& entry : entries) {
    std::string path = modTools::AddBackslash(folder) + entry.Name;
    if (entry.Name.find('\\') != std::string::npos) {
      walk.Files.push_back({path, relative + entry.Name, "", "", {}});  // refused by name, not opened
      continue;
    }
    Status collected = CollectEntry(path, relative + entry.Name, walk);
    if (!collected) return collected;
  }
  return Done{};
}

// Leaves out the package being written, when it lies in the packed folder:
// an earlier package, and the temporary file, but never a car's own file.
Status LeaveOutOutput(const std::string& out, std::vector<PackedFile>& files) {
  for (const std::string& path : {out, TemporaryPath(out)}) {
    platform::PathInfo info;
    if (!platform::GetPathInfo(path, info) || info.Kind != platform::PathKind::File) continue;
    auto isOutput = [&](const PackedFile& file) {
      return file.Info.Kind == platform::PathKind::File && SameNode(file.Info, info);
    };
    if (std::none_of(files.begin(), files.end(), isOutput)) continue;
    if (path == out && !modRIGBOX::CheckPackageFile(out)) {
      return Error("Cannot pack into " + Quoted(out) +
                   ": it is a file of the folder being packed, not a package");
    }
    files.erase(std::remove_if(files.begin(), files.end(), isOutput), files.end());
  }
  return Done{};
}

// The files below dir in path order (the same on every system), each
// storable, no two of them one name to the installer.
Result<std::vector<PackedFile>> Collect(const std::string& dir, const std::string& out) {
  Walk walk;
  walk.Ancestors.emplace_back();
  if (!platform::FolderExists(dir) || !platform::GetPathInfo(dir, walk.Ancestors.back())) {
    return Error(Quoted(dir) + " is not a folder");
  }
  Status collected = CollectBelow(dir, "", walk);
  if (!collected) return collected.Error();
  std::vector<PackedFile>& files = walk.Files;
  Status left = LeaveOutOutput(out, files);
  if (!left) return left.Error();
  std::sort(files.begin(), files.end(),
            [](const PackedFile& a, const PackedFile& b) { return a.Relative < b.Relative; });
  for (PackedFile& file : files) {
    Status described = Describe(file);
    if (!described) return described.Error();
  }
  std::vector<std::string> paths;
  paths.reserve(files.size());
  for (const PackedFile& file : files) paths.push_back(file.Relative);
  if (std::optional<NameClash> clash = FindNameClash(paths)) {
    return Error("Cannot pack " + Shown(paths[clash->First]) + " and " + Shown(paths[clash->Second]) + ": " +
                 ClashReason(*clash));
  }
  if (files.size() > INT16_MAX) {
    return Error(Quoted(dir) + " holds " + std::to_string(files.size()) + " files, a package at most 32767");
  }
  return files;
}

// Writes the package beside out, then puts it in place.
Status Pack(const std::string& id, int32_t flags, const std::string& out,
            const std::vector<PackedFile>& files) {
  std::string temporary = TemporaryPath(out);
  modRIGBOX::EnablePackageCreation();
  bool ok = modRIGBOX::OpenPackage(modRIGBOX::kModeCreate, temporary, id, flags);
  for (size_t i = 0; ok && i < files.size(); ++i) {
    ok = modRIGBOX::AddPackageFile(files[i].Source, files[i].SubFolder, files[i].FileName);
  }
  int64_t bytes = 0;
  for (const auto& entry : modRIGBOX::PackageDir) bytes += entry.Size;
  ok = modRIGBOX::ClosePackage() && ok;
  if (!ok) {
    Error failure(modRIGBOX::LastFailure);
    platform::DeleteFile(temporary);  // half a package is of no use to anyone
    return failure;
  }
  Status published = Publish(temporary, out);
  if (!published) return published;
  std::cout << "Packed " << Counted(static_cast<int64_t>(files.size()), "file") << " ("
            << Counted(bytes, "byte") << ") into " << out << "\n";
  std::vector<std::string> topLevel;
  for (const PackedFile& file : files) {
    if (file.SubFolder.empty()) topLevel.push_back(file.FileName);
  }
  WarnOfMissingCarScripts(out, topLevel);
  return Done{};
}

Status PackCommand(const std::vector<std::string>& args) {
  auto parsed = ParseArguments(args, {"--id", "--flags", "-o"});
  if (!parsed) return parsed.Error();
  if (parsed->Help) return ShowUsage(kPackUsage);
  if (parsed->Options.count("--id") == 0) return UsageError("--id is required");
  if (parsed->Options.count("-o") == 0) return UsageError("-o is required");
  if (parsed->Positionals.size() != 1) return UsageError("expects one folder to pack");
  std::string id = parsed->Options["--id"];
  if (id.empty() || id.size() > 3 || !IsPrintableAscii(id)) {
    return UsageError("--id needs 1 to 3 printable ASCII characters");
  }
  std::optional<int32_t> flags = 0;
  if (parsed->Options.count("--flags") != 0) flags = ParseFlags(parsed->Options["--flags"]);
  if (!flags) return UsageError("--flags needs a number from -32768 to 32767");

  std::string out = parsed->Options["-o"];
  for (const std::string& path : {out, TemporaryPath(out)}) {
    Status writable = CheckOutputPath(path);
    if (!writable) return writable;
  }
  auto files = Collect(parsed->Positionals[0], out);
  if (!files) return files.Error();
  return Pack(id, *flags, out, *files);
}

}  // namespace

Status MakePackage(const std::vector<std::string>& packArgs) { return PackCommand(packArgs); }

int RunPack(const std::vector<std::string>& args) { return Finish("pack", PackCommand(args)); }

}  // namespace rigbox_tool
