// What the registration tests share: a progress sink that writes down every
// call, in order, the four operations and the top-level lines they append.
#pragma once

#include <string>
#include <vector>

#include "game/script_registration.h"

namespace testing_support {

class RecordingSink : public game::ProgressSink {
 public:
  void AddProgress(int amount) override { Calls.push_back("progress +" + std::to_string(amount)); }
  void SetCreatingFile(const std::string& shownName) override { Calls.push_back("creating " + shownName); }
  void ScriptFailed(const std::string& shownName, game::ScriptFault fault) override {
    const char* reasons[] = {"missing",        "cannot open",   "write failed",
                             "cannot replace", "cannot delete", "in use"};
    Calls.push_back("failed " + shownName + ": " + reasons[static_cast<int>(fault)]);
  }
  void CopyUpdated(const std::string& path) override { Calls.push_back("copy " + path); }

  std::vector<std::string> Calls;
};

using Operation = bool (*)(const std::string&, const std::string&, game::ProgressSink&);
inline const Operation kOperations[] = {game::UpdateGVCarsScript, game::UpdateGVPartsScript,
                                        game::UpdateGVTextsScript, game::UpdateGVIconsScript};

// Every backslash of an include path is doubled in the file, so "\\\\" is two bytes.
inline const std::string kTextsTop = "\r\n// Created by Vehiforge\r\n!include(\"Cars\\\\Texts.scr\")\r\n\r\n";
inline const std::string kIconsTop =
    "\r\n// --- Created by Vehiforge. Do not modyfy. "
    "---\r\n!include(\"..\\\\..\\\\Cars\\\\Icons.scr\")\r\n\r\n";

}  // namespace testing_support
