// A progress sink that writes down every call, in order, for the
// registration tests.
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
    const char* reasons[] = {"missing", "cannot open", "write failed"};
    Calls.push_back("failed " + shownName + ": " + reasons[static_cast<int>(fault)]);
  }

  std::vector<std::string> Calls;
};

}  // namespace testing_support
