// Registration of an extracted car in the game's script files: include
// lines appended to the four shared scripts under "Data\Cars\", and once per
// game folder a line in each of the two top-level scripts that pulls in the
// shared texts and icons scripts.
#pragma once

#include <string>

#include "game/game_files.h"

namespace game {

// The four shared scripts under "Data\Cars\", in registration order: the
// name each is opened under, the name the player is shown, and the car's
// own script that its line includes.
struct SharedScript {
  const char* Path;
  const char* ShownName;
  const char* CarScript;
};
inline constexpr SharedScript kSharedScripts[] = {
    {"Data\\Cars\\cars.scr", "Data\\Cars\\Cars.scr", "Cars.scr"},
    {"Data\\Cars\\Parts.scr", "Data\\Cars\\Parts.scr", "Parts.scr"},
    {"Data\\Cars\\Texts.scr", "Data\\Cars\\Texts.scr", "Texts.scr"},
    {"Data\\Cars\\Icons.scr", "Data\\Cars\\Icons.scr", "Icons.scr"},
};

// The line a shared script holds for the car, without its line end:
// !include("ABC\\Cars.scr").
std::string CarIncludeLine(const std::string& carId, const SharedScript& script);

// One line of a text that starts at Start: its content is [Start, End),
// without the line end; the next line starts at Next, which is past the
// text's size for its last line.
struct TextLine {
  size_t Start;
  size_t End;
  size_t Next;
};
TextLine LineAt(const std::string& text, size_t start);

// True when a whole line of text, ended by CR LF, by LF or by the end of
// the text, is exactly line. A commented-out copy does not count.
bool HasWholeLine(const std::string& text, const std::string& line);

// What the registrations move on the window: the progress bar, and the
// action line that reads "Creating file:" followed by the shown name; and
// the game file at which an operation stopped, so the run can say so.
class ProgressSink {
 public:
  virtual ~ProgressSink() = default;
  virtual void AddProgress(int amount) = 0;
  virtual void SetCreatingFile(const std::string& shownName) = 0;  // e.g. "Data\\Cars\\Cars.scr"
  virtual void ScriptFailed(const std::string& shownName, ScriptFault fault) = 0;
  // Windows' copy of a game file (its full path) took the change too.
  virtual void CopyUpdated(const std::string& /*path*/) {}
  // The game file (its shown name) holds line now: added by this run, or
  // found there already. Its copy is told of by CopyUpdated.
  virtual void ScriptLine(const std::string& /*shownName*/, const std::string& /*line*/, bool /*added*/) {}
};

// Each returns false at the first step that fails, keeping what the steps
// before it wrote, and tells the sink which file failed and why; progress
// and the action line hear of an operation only when it completed.
// A shared script that holds the car's line already is not touched, so a
// second run adds only what a crash or a game update took away. Windows'
// copy of a script (StoreCopyOf) gets the same change, under the same rules.
// gameFolder ends with a separator; every file name is appended to it.
bool UpdateGVCarsScript(const std::string& gameFolder, const std::string& carId, ProgressSink& sink);
bool UpdateGVPartsScript(const std::string& gameFolder, const std::string& carId, ProgressSink& sink);
bool UpdateGVTextsScript(const std::string& gameFolder, const std::string& carId, ProgressSink& sink);
bool UpdateGVIconsScript(const std::string& gameFolder, const std::string& carId, ProgressSink& sink);

}  // namespace game
