#include "game/game_files.h"

#include "support/platform.h"

namespace game {

ScriptFault Because(ScriptFault fault) {
  return platform::LastError().Number == platform::kErrFileInUse ? ScriptFault::InUse : fault;
}

std::string StoreCopyOf(const std::string& path) {
  std::string copy = platform::VirtualStorePath(path);
  platform::PathInfo info;
  return !copy.empty() && platform::GetPathInfo(copy, info) && info.Kind == platform::PathKind::File ? copy
                                                                                                     : "";
}

std::optional<ScriptFault> CopyFault(const std::string& copy) {
  size_t store = copy.find("\\VirtualStore\\");
  if (store != std::string::npos && platform::PassesThroughLink(copy, store)) return ScriptFault::ThroughLink;
  return std::nullopt;
}

std::optional<ScriptFault> ReplaceWholeFile(const std::string& path, const std::string& tempPath,
                                            const std::string& bytes) {
  // What a crashed run (or anyone) left at the temporary name goes first;
  // a link planted there is removed, never written through.
  platform::File file;
  if (!platform::ClearName(tempPath) || !file.Open(tempPath, platform::OpenMode::CreateNew))
    return Because(ScriptFault::CannotReplace);
  bool written = file.WriteAll(bytes.data(), bytes.size()) && file.Flush();
  std::optional<ScriptFault> fault;
  if (!file.Close() || !written) {
    fault = ScriptFault::WriteFailed;
  } else if (!platform::ReplaceFile(tempPath, path)) {
    fault = Because(ScriptFault::CannotReplace);
  }
  if (fault) platform::DeleteFile(tempPath);
  return fault;
}

}  // namespace game
