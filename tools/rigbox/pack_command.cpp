// rigbox pack: every regular file below a folder into one package.
#include <algorithm>
#include <charconv>
#include <cstdint>
#include <iostream>
#include <tuple>

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
    "Usage: rigbox pack --id ID [--flags N] [--keep-junk] -o OUT DIR\n"
    "\n"
    "Packs every regular file below DIR, in the order of their paths, into the\n"
    "package file OUT (replaced if it exists). Symbolic links are followed. A\n"
    "file in a subfolder keeps that folder, written with backslashes; the whole\n"
    "subfolder path has at most 15 characters. No two names may differ only in\n"
    "letter case, as the installer does not tell them apart. Every file is\n"
    "checked before anything is written, and each one that cannot be packed is\n"
    "named. DIR is the car's own folder: when the car scripts lie in a single\n"
    "folder below it instead, that folder is named and nothing is packed. OUT\n"
    "is written as OUT.part first.\n"
    "\n"
    "  --id ID      the car ID: exactly 3 characters, each A to Y (no Z), 0 to 9\n"
    "               or _, and none of the game's own IDs BMX, DRM, FOC, FPU,\n"
    "               GLV, MLE, MMS, PGT, SBI and STC; in capitals, as Windows and\n"
    "               the game take abc for the folder of ABC\n"
    "  --flags N    header flags, -32768 to 32767 (default 0)\n"
    "  --keep-junk  packs what is otherwise left out and named: Thumbs.db,\n"
    "               desktop.ini, .DS_Store and ._* files, .git, .svn and .hg\n"
    "               folders\n"
    "  -o OUT       the package file to write\n";

// Each subfolder path is stored in a field that ends with one NUL.
constexpr size_t kMaxSubFolderPath = std::tuple_size_v<decltype(modRIGBOX::RigboxEntry::SubFolder)> - 1;

struct PackedFile {
  std::string Source;
  std::string Relative;  // with '/' separators, the sort key
  std::string SubFolder;
  std::string FileName;
  platform::PathInfo Info;
};

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
  if (file.SubFolder.size() > kMaxSubFolderPath) {
    return Error(cannot + "its subfolder path " + Quoted(modRIGBOX::PrintableName(file.SubFolder)) + " has " +
                 std::to_string(file.SubFolder.size()) +
                 " characters; the whole subfolder path, backslashes included, has at most " +
                 std::to_string(kMaxSubFolderPath));
  }
  if (const char* problem = modRIGBOX::SubFolderProblem(file.SubFolder)) {
    return Error(cannot + "its folder name " + problem);
  }
  if (const char* problem = modRIGBOX::FileNameProblem(file.FileName)) {
    return Error(cannot + "its file name " + problem);
  }
  return Done{};
}

// What keeps a path below the packed folder out of the package.
struct Fault {
  std::string Relative;  // the sort key
  std::string Message;
};

// The walk below the packed folder: the folders on the way down, by their
// identity, so a link back up to one of them is found.
struct Walk {
  std::vector<PackedFile> Files;
  std::vector<platform::PathInfo> Ancestors;
  std::vector<Fault> Faults;
  bool KeepJunk = false;
  std::vector<std::string> LeftOut;
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
  std::string cannot = "Cannot pack " + Shown(relative) + ": ";
  if (info.Kind == platform::PathKind::Missing) {
    walk.Faults.push_back({relative, cannot + "it is a symbolic link that leads nowhere"});
    return Done{};
  }
  std::string name = relative.substr(relative.rfind('/') + 1);
  bool isFile = info.Kind == platform::PathKind::File;
  bool isFolder = info.Kind == platform::PathKind::Folder;
  if (!walk.KeepJunk && ((isFile && IsJunkFile(name)) || (isFolder && IsJunkFolder(name)))) {
    walk.LeftOut.push_back(relative + (isFolder ? "/" : ""));
    return Done{};
  }
  if (isFile) walk.Files.push_back({path, relative, "", "", info});
  if (!isFolder) return Done{};
  for (const platform::PathInfo& ancestor : walk.Ancestors) {
    if (SameNode(ancestor, info)) {
      walk.Faults.push_back({relative, cannot + "it leads back to a folder it lies in, a loop"});
      return Done{};
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

// dir/relative, with the separator dir is written with, for a message an
// author can take the path from.
std::string Below(const std::string& dir, std::string relative) {
  auto last = std::find_if(dir.rbegin(), dir.rend(), platform::IsSeparator);
  char separator = last == dir.rend() ? '/' : *last;
  std::replace(relative.begin(), relative.end(), '/', separator);
  return (last == dir.rbegin() ? dir : dir + separator) + relative;
}

// Adds to faults every fault of the files to pack: their names (each file
// gets its stored folder and name here) and where the car lies in dir.
void FindFaults(const std::string& dir, std::vector<PackedFile>& files, std::vector<Fault>& faults) {
  std::vector<std::string> paths;
  for (PackedFile& file : files) {
    Status described = Describe(file);
    if (!described) faults.push_back({file.Relative, described.Error().Message()});
    paths.push_back(file.Relative);
  }
  for (const NameClash& clash : FindNameClashes(paths)) {
    faults.push_back({paths[clash.First], "Cannot pack " + Shown(paths[clash.First]) + " and " +
                                              Shown(paths[clash.Second]) + ": " + ClashReason(clash)});
  }
  if (std::string nested = NestedCarFolder(paths); !nested.empty()) {
    faults.push_back({"", Quoted(dir) + " holds no car script itself; the car seems to be in " +
                              Below(dir, modRIGBOX::PrintableName(nested)) + ": pack that folder"});
  }
}

// One fault as the failure; several each on a line of its own, in path
// order, and a failure that counts them.
Error Refusal(const std::string& dir, std::vector<Fault>& faults) {
  std::stable_sort(faults.begin(), faults.end(),
                   [](const Fault& a, const Fault& b) { return a.Relative < b.Relative; });
  if (faults.size() == 1) return Error(faults.front().Message);
  for (const Fault& fault : faults) Complain(fault.Message);
  return Error("Nothing packed from " + Quoted(dir) + ": " +
               Counted(static_cast<int64_t>(faults.size()), "fault") + ", each named above");
}

// The files below dir in path order (the same on every system), each
// storable, no two of them one name to the installer; with junk left out
// unless keepJunk.
Result<Walk> Collect(const std::string& dir, const std::string& out, bool keepJunk) {
  Walk walk;
  walk.KeepJunk = keepJunk;
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
  std::sort(walk.LeftOut.begin(), walk.LeftOut.end());
  FindFaults(dir, files, walk.Faults);
  if (!walk.Faults.empty()) return Refusal(dir, walk.Faults);
  if (files.size() > INT16_MAX) {
    return Error(Quoted(dir) + " holds " + std::to_string(files.size()) + " files, a package at most 32767");
  }
  return walk;
}

// Names the junk left out, folders with a trailing slash.
void TellLeftOut(const std::vector<std::string>& leftOut) {
  if (leftOut.empty()) return;
  std::cout << "Left out " << Counted(static_cast<int64_t>(leftOut.size()), "name")
            << " no car needs (--keep-junk packs them):";
  for (size_t i = 0; i < leftOut.size(); ++i) std::cout << (i == 0 ? " " : ", ") << Shown(leftOut[i]);
  std::cout << "\n";
}

// Writes the package beside out, then puts it in place.
Status Pack(const std::string& id, int32_t flags, const std::string& out, const Walk& walk) {
  const std::vector<PackedFile>& files = walk.Files;
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
  TellLeftOut(walk.LeftOut);
  std::cout << "Packed " << Counted(static_cast<int64_t>(files.size()), "file") << " ("
            << Counted(bytes, "byte") << ") into " << out << "\n";
  std::vector<std::string> topLevel;
  for (const PackedFile& file : files) {
    if (file.SubFolder.empty()) topLevel.push_back(file.FileName);
  }
  WarnOfMissingCarScripts(out, topLevel);
  WarnOfCarIdCase(id);
  return Done{};
}

Status PackCommand(const std::vector<std::string>& args) {
  auto parsed = ParseArguments(args, {"--id", "--flags", "-o"}, {"--keep-junk"});
  if (!parsed) return parsed.Error();
  if (parsed->Help) return ShowUsage(kPackUsage);
  if (parsed->Options.count("--id") == 0) return UsageError("--id is required");
  if (parsed->Options.count("-o") == 0) return UsageError("-o is required");
  if (parsed->Positionals.size() != 1) return UsageError("expects one folder to pack");
  std::string id = parsed->Options["--id"];
  if (std::string problem = CarIdProblem(id); !problem.empty()) {
    return UsageError("--id " + Quoted(modRIGBOX::PrintableName(id)) + " " + problem);
  }
  std::optional<int32_t> flags = 0;
  if (parsed->Options.count("--flags") != 0) flags = ParseFlags(parsed->Options["--flags"]);
  if (!flags) return UsageError("--flags needs a number from -32768 to 32767");

  std::string out = parsed->Options["-o"];
  for (const std::string& path : {out, TemporaryPath(out)}) {
    Status writable = CheckOutputPath(path);
    if (!writable) return writable;
  }
  auto walk = Collect(parsed->Positionals[0], out, parsed->Flags.count("--keep-junk") != 0);
  if (!walk) return walk.Error();
  return Pack(id, *flags, out, *walk);
}

}  // namespace

Status MakePackage(const std::vector<std::string>& packArgs) { return PackCommand(packArgs); }

int RunPack(const std::vector<std::string>& args) { return Finish("pack", PackCommand(args)); }

}  // namespace rigbox_tool
