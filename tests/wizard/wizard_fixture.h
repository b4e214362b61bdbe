// What the wizard's tests share: a shell that records what the wizard asks
// and answers from a script, a registry holding at most one value, a game
// folder on disk and installer files made from a stub, a package and the
// trailer.
#pragma once

#include <deque>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "common/temp_dir.h"
#include "wizard/form_model.h"
#include "wizard/registry.h"
#include "wizard/shell.h"

namespace wizard_testing {

struct ShownMessage {
  std::string Text;
  std::string Title;
  wizard::MsgButtons Buttons;
  wizard::MsgIcon Icon;
};

class ScriptedShell : public wizard::Shell {
 public:
  std::vector<ShownMessage> Messages;
  std::deque<wizard::MsgResult> Answers;  // OK when empty
  std::deque<std::string> PickedFolders;  // cancel when empty
  std::vector<std::string> PickerTitles;
  std::vector<std::string> ActionTexts;  // every caption lblAction took
  std::vector<int32_t> ProgressValues;   // every value prgsAction took
  int EndCount = 0;
  int KeepResponsiveCount = 0;
  // Called on every control change, to act in the middle of a run.
  std::function<void(const wizard::Control&)> OnChange;

  wizard::MsgResult MessageBox(const std::string& text, const std::string& title, wizard::MsgButtons buttons,
                               wizard::MsgIcon icon) override;
  std::string BrowseForFolder(const std::string& title) override;
  void ControlChanged(const wizard::Control& control) override;
  void KeepResponsive() override { ++KeepResponsiveCount; }
  void EndProgram() override { ++EndCount; }
};

// A registry with one string value under the game's key, or none.
class OneValueRegistry : public modRegistry::RegistryApi {
 public:
  std::optional<std::string> GameFolder;

  int32_t OpenKey(uint32_t root, const std::string& subKey, uint32_t options, uint32_t access,
                  modRegistry::KeyHandle& key) override;
  int32_t QueryValue(modRegistry::KeyHandle key, const std::string& valueName, uint32_t& type, uint8_t* data,
                     uint32_t& length) override;
  int32_t CloseKey(modRegistry::KeyHandle key) override;
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

// Writes an installer: stub bytes, a package of files with carId, trailer.
void MakeInstaller(const std::filesystem::path& installer, const std::string& carId,
                   const std::vector<CarFile>& files);

// A game folder with "Gravelon.exe" and the six scripts the game ships.
void MakeGameFolder(const std::filesystem::path& folder);

}  // namespace wizard_testing
