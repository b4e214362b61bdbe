#include "command_line.h"

#include "windows_api.h"

#include <shellapi.h>

#include <algorithm>

#include "support/platform.h"
#include "wide_text.h"

namespace win32_frontend {

namespace {

// Where an argument "/D=" (any case) starts outside quotes, or npos. The
// program's name is quoted without escapes; the arguments' quotes follow
// the runtime's rules, a quote after an odd number of backslashes being
// no quote.
size_t InstallDirSwitch(const std::wstring& line) {
  size_t i = 0;
  if (!line.empty() && line[0] == L'"') i = std::min(line.find(L'"', 1), line.size() - 1) + 1;
  bool quoted = false;
  size_t backslashes = 0;
  for (; i + 3 < line.size(); ++i) {
    wchar_t c = line[i];
    if (c == L'"' && backslashes % 2 == 0) quoted = !quoted;
    backslashes = c == L'\\' ? backslashes + 1 : 0;
    if (!quoted && (c == L' ' || c == L'\t') && line[i + 1] == L'/' && (line[i + 2] | 0x20) == L'd' &&
        line[i + 3] == L'=') {
      return i + 1;
    }
  }
  return std::wstring::npos;
}

}  // namespace

std::vector<std::string> SplitCommandLine(const std::wstring& commandLine) {
  std::vector<std::string> arguments;
  // "/D=" is last and its folder unquoted, as scripts pass it: the rest of
  // the line, blanks included.
  size_t installDir = InstallDirSwitch(commandLine);
  int count = 0;
  LPWSTR* split = CommandLineToArgvW(commandLine.substr(0, installDir).c_str(), &count);
  if (split == nullptr) return arguments;
  for (int i = 1; i < count; ++i) arguments.push_back(Narrow(split[i]));
  LocalFree(split);
  if (installDir != std::wstring::npos) {
    std::wstring rest = commandLine.substr(installDir);
    arguments.push_back(Narrow(rest.erase(rest.find_last_not_of(L" \t") + 1)));
  }
  return arguments;
}

std::vector<std::string> CommandLineArguments() { return SplitCommandLine(GetCommandLineW()); }

std::string ProgramFileName() {
  std::string path = platform::ExecutablePath();
  size_t slash = path.find_last_of("\\/");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace win32_frontend
