#include "wizard/wizard_fixture.h"

#include <cstring>

#include "package/package_bytes.h"
#include "package/rigbox.h"

namespace fs = std::filesystem;
using testing_support::ReadFile;
using testing_support::WriteFile;

namespace wizard_testing {

namespace {

// The next scripted item, or fallback when the script has run out.
template <class T>
T Pop(std::deque<T>& script, T fallback) {
  if (script.empty()) return fallback;
  T next = script.front();
  script.pop_front();
  return next;
}

}  // namespace

wizard::MsgResult ScriptedShell::MessageBox(const std::string& text, const std::string& title,
                                            wizard::MsgButtons buttons, wizard::MsgIcon icon) {
  Messages.push_back({text, title, buttons, icon});
  return Pop(Answers, wizard::MsgResult::OK);
}

std::string ScriptedShell::BrowseForFolder(const std::string& title) {
  PickerTitles.push_back(title);
  return Pop(PickedFolders, std::string());
}

void ScriptedShell::ControlChanged(const wizard::Control& control) {
  if (control.Name == "lblAction") ActionTexts.push_back(control.Caption);
  if (control.Name == "prgsAction" && (ProgressValues.empty() || ProgressValues.back() != control.Value)) {
    ProgressValues.push_back(control.Value);
  }
  if (OnChange) OnChange(control);
}

int32_t OneValueRegistry::OpenKey(uint32_t root, const std::string& subKey, uint32_t /*options*/,
                                  uint32_t /*access*/, modRegistry::KeyHandle& key) {
  if (root != modRegistry::kHkeyLocalMachine || subKey != "SOFTWARE\\Brackmoor\\Gravelon" || !GameFolder) {
    return modRegistry::kErrorFileNotFound;
  }
  key = 1;
  return modRegistry::kErrorSuccess;
}

int32_t OneValueRegistry::QueryValue(modRegistry::KeyHandle /*key*/, const std::string& valueName,
                                     uint32_t& type, uint8_t* data, uint32_t& length) {
  if (valueName != "DestinationDir") return modRegistry::kErrorFileNotFound;
  std::memcpy(data, GameFolder->c_str(), GameFolder->size() + 1);
  length = static_cast<uint32_t>(GameFolder->size() + 1);
  type = modRegistry::kRegSz;
  return modRegistry::kErrorSuccess;
}

int32_t OneValueRegistry::CloseKey(modRegistry::KeyHandle /*key*/) { return modRegistry::kErrorSuccess; }

std::vector<CarFile> SampleCar(const std::string& carId) {
  return {
      {"", "Cars.scr", "// car " + carId + "\r\n"},
      {"", "Icons.scr", "// icons\r\n"},
      {"", "Parts.scr", "// parts\r\n"},
      {"", "Texts.scr", "// texts\r\n"},
      {"Textures", "body.txt", std::string(5000, 'b')},
  };
}

void MakeInstaller(const fs::path& installer, const std::string& carId, const std::vector<CarFile>& files) {
  fs::path staging = installer.string() + ".files";
  fs::path package = installer.string() + ".rigbox";
  ASSERT_TRUE(modRIGBOX::OpenPackage(modRIGBOX::kModeCreate, package.string(), carId, 0))
      << modRIGBOX::LastErrText;
  for (const CarFile& file : files) {
    fs::path source = staging / file.SubFolder / file.Name;
    WriteFile(source, file.Bytes);
    ASSERT_TRUE(modRIGBOX::AddPackageFile(source.string(), file.SubFolder, file.Name))
        << modRIGBOX::LastErrText;
  }
  ASSERT_TRUE(modRIGBOX::ClosePackage()) << modRIGBOX::LastErrText;

  WriteFile(installer, package_bytes::SelfExtracting(ReadFile(package), 24));
  fs::remove_all(staging);
  fs::remove(package);
}

void MakeGameFolder(const fs::path& folder) {
  WriteFile(folder / "Gravelon.exe", "MZ game");
  for (std::string script : {"Cars.scr", "Parts.scr", "Texts.scr", "Icons.scr"})
    WriteFile(folder / "Data/Cars" / script, "!include(\"BMX\\\\" + script + "\")\r\n\r\n");
  WriteFile(folder / "Data/Texts.scr", "!include(\"Menu\\\\Texts.scr\")\r\n");
  WriteFile(folder / "Data/Menu/uidef/Textures.def", "// textures\r\n");
}

}  // namespace wizard_testing
