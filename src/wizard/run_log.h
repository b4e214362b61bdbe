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
  // Closed while the run goes on in the program started again as
  // administrator, which writes the log anew; Resume goes on at its end
  // when that start did not happen.
  void Pause() { file_.Close(); }
  void Resume();
  // As given to Open; "" without a log.
  const std::string& Path() const { return path_; }
  // The parts and a line end, handed to the system at once, so a run
  // killed half-way leaves every line before. Nothing when no log was asked
  // for. In parts: each caller joining its own strings costs the Windows
  // installer more.
  void Write(std::initializer_list<std::string_view> parts);

 private:
  bool OpenAs(platform::OpenMode mode);

  platform::File file_;
  std::string path_;
};

}  // namespace wizard
