#include "wizard/run_log.h"

namespace wizard {

bool RunLog::Open(const std::string& path) {
  path_ = path;
  return OpenAs(platform::OpenMode::Write);
}

void RunLog::Resume() {
  if (!path_.empty()) OpenAs(platform::OpenMode::Append);
}

bool RunLog::OpenAs(platform::OpenMode mode) {
  platform::PathInfo info;
  return !(platform::GetPathInfo(path_, info) && info.IsLink) && file_.Open(path_, mode);
}

void RunLog::Write(std::initializer_list<std::string_view> parts) {
  // A log that stopped taking lines does not stop the install.
  if (!file_.IsOpen()) return;
  std::string line;
  for (std::string_view part : parts) line += part;
  line += '\n';
  file_.WriteAll(line.data(), line.size());
}

}  // namespace wizard
