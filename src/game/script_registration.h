// Registration of an extracted car in the game's script files: include
// lines appended to the four shared scripts under "Data\Cars\", and once per
// game folder a line in each of the two top-level scripts that pulls in the
// shared texts and icons scripts.
#pragma once

#include <string>

namespace game {

// Why a registration stopped at a game file.
enum class ScriptFault {
  Missing,     // the file whose attributes are reset does not exist
  CannotOpen,  // it cannot be made writable or opened for appending
  WriteFailed,
};

// What the registrations move on the window: the progress bar, and the
// action line that reads "Creating file:" followed by the shown name; and
// the game file at which an operation stopped, so the run can say so.
class ProgressSink {
 public:
  virtual ~ProgressSink() = default;
  virtual void AddProgress(int amount) = 0;
  virtual void SetCreatingFile(const std::string& shownName) = 0;  // e.g. "Data\\Cars\\Cars.scr"
  virtual void ScriptFailed(const std::string& shownName, ScriptFault fault) = 0;
};

// Each returns false at the first step that fails, keeping what the steps
// before it wrote, and tells the sink which file failed and why; progress
// and the action line hear of an operation only when it completed.
// gameFolder ends with a separator; every file name is appended to it.
bool UpdateGVCarsScript(const std::string& gameFolder, const std::string& carId, ProgressSink& sink);
bool UpdateGVPartsScript(const std::string& gameFolder, const std::string& carId, ProgressSink& sink);
bool UpdateGVTextsScript(const std::string& gameFolder, const std::string& carId, ProgressSink& sink);
bool UpdateGVIconsScript(const std::string& gameFolder, const std::string& carId, ProgressSink& sink);

}  // namespace game
