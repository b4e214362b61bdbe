#include "command_line.h"

#include "windows_api.h"

#include <shellapi.h>

#include "support/platform.h"
#include "wide_text.h"

namespace win32_frontend {

std::vector<std::string> SplitCommandLine(const std::wstring& commandLine) {
  std::vector<std::string> arguments;
  int count = 0;
  LPWSTR* split = CommandLineToArgvW(commandLine.c_str(), &count);
  if (split == nullptr) return arguments;
  for (int i = 1; i < count; ++i) arguments.push_back(Narrow(split[i]));
  LocalFree(split);
  return arguments;
}

std::vector<std::string> CommandLineArguments() { return SplitCommandLine(GetCommandLineW()); }

std::string ProgramFileName() {
  std::string path = platform::ExecutablePath();
  size_t slash = path.find_last_of("\\/");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace win32_frontend
