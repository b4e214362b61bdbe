// --log FILE: what a run did, a line at a time, for the car's author to
// read when an install went wrong on a player's machine.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

#include "support/platform.h"

namespace wizard {

class RunLog {
 public:
  // Starts the file at path anew. Refused through a link: whoever planted
  // it could point a new log over a game file.
  bool Open(const std::string& path);
  // The parts and a line end, handed to the system at once, so a run
  // killed half-way leaves every line before. Nothing when no log was asked
  // for. In parts: each caller joining its own strings costs the Windows
  // installer more.
  void Write(std::initializer_list<std::string_view> parts);

 private:
  platform::File file_;
};

}  // namespace wizard
