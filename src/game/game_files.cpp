#include "game/game_files.h"

#include "support/platform.h"

namespace game {

std::optional<ScriptFault> ReplaceWholeFile(const std::string& path, const std::string& tempPath,
                                            const std::string& bytes) {
  // A missing temporary file fails the reset: nothing to clear.
  if (platform::SetFileAttributes(tempPath, platform::kAttrNormal) && !platform::DeleteFile(tempPath))
    return ScriptFault::CannotReplace;
  platform::File file;
  if (!file.Open(tempPath, platform::OpenMode::Write)) return ScriptFault::CannotReplace;
  bool written = file.WriteAll(bytes.data(), bytes.size()) && file.Flush();
  std::optional<ScriptFault> fault;
  if (!file.Close() || !written) {
    fault = ScriptFault::WriteFailed;
  } else if (!platform::ReplaceFile(tempPath, path)) {
    fault = ScriptFault::CannotReplace;
  }
  if (fault) platform::DeleteFile(tempPath);
  return fault;
}

}  // namespace game
