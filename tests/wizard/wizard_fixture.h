// What the wizard's tests share: a shell that records what the wizard asks
// and answers from a script, a registry holding at most one value, a game
// folder on disk and installer files made from a stub, a package and the
// trailer.
#pragma once

#include <cstring>
#include <deque>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "common/map_registry.h"
#include "common/temp_dir.h"
#include "wizard/form_model.h"
#include "wizard/shell.h"

namespace wizard_testing {

struct ShownMessage {
  std::string Text;
  std::string Title;
  wizard::MsgButtons Buttons;
  wizard::MsgIcon Icon;
  int16_t Id;  // the string ID the wizard named
};

class ScriptedShell : public wizard::Shell {
 public:
  std::vector<ShownMessage> Messages;
  std::deque<wizard::MsgResult> Answers;  // OK when empty
  std::deque<std::string> PickedFolders;  // cancel when empty
  std::vector<std::string> PickerTitles;
  std::vector<std::string> ActionTexts;  // every status line of a run
  std::vector<int32_t> ProgressValues;   // every value prgsAction took
  int EndCount = 0;
  int KeepResponsiveCount = 0;
  // Called on every control change, to act in the middle of a run.
  std::function<void(const wizard::Control&)> OnChange;

  wizard::MsgResult MessageBox(int16_t stringId, const std::string& text, const std::string& title,
                               wizard::MsgButtons buttons, wizard::MsgIcon icon) override {
    Messages.push_back({text, title, buttons, icon, stringId});
    return Pop(Answers, wizard::MsgResult::OK);
  }
  std::string BrowseForFolder(const std::string& title) override {
    PickerTitles.push_back(title);
    return Pop(PickedFolders, std::string());
  }
  void ControlChanged(const wizard::Control& control) override {
    if (control.Name == "prgsAction" && (ProgressValues.empty() || ProgressValues.back() != control.Value))
      ProgressValues.push_back(control.Value);
    if (OnChange) OnChange(control);
  }
  void ActionChanged(const std::string& text) override { ActionTexts.push_back(text); }
  void KeepResponsive() override { ++KeepResponsiveCount; }
  void EndProgram() override { ++EndCount; }
  bool CanRestartElevated() override { return MayElevate; }
  bool RestartElevated(const std::string& gameFolder, const std::string& logPath) override {
    ElevatedRestarts.push_back(gameFolder + " log=" + logPath);
    return RestartStarts;
  }

  bool MayElevate = false;    // Windows, not elevated yet
  bool RestartStarts = true;  // false: the player declined the system's question
  std::vector<std::string> ElevatedRestarts;

 private:
  // The next scripted item, or fallback when the script has run out.
  template <class T>
  static T Pop(std::deque<T>& script, T fallback) {
    if (script.empty()) return fallback;
    T next = script.front();
    script.pop_front();
    return next;
  }
};

// One file of a car: its folder inside the car's folder ("" for the car's
// own folder), its name and its bytes.
struct CarFile {
  std::string SubFolder;
  std::string Name;
  std::string Bytes;
};

// A car with the four scripts and a texture in a subfolder.
std::vector<CarFile> SampleCar(const std::string& carId);

// Writes an installer: stub bytes, the checksum record when checked, a
// package of files with carId, trailer.
void MakeInstaller(const std::filesystem::path& installer, const std::string& carId,
                   const std::vector<CarFile>& files, bool checked = false);

// A game folder with "Gravelon.exe" and the six scripts the game ships.
void MakeGameFolder(const std::filesystem::path& folder);

}  // namespace wizard_testing
