#include "support/tools.h"

#include "support/platform.h"

namespace modTools {

bool FileExists(const std::string& path) {
  platform::File file;
  return file.Open(path, platform::OpenMode::Read);
}

std::string ReadTextFile(const std::string& path) {
  std::string text;
  ReadExistingFile(path, text);
  return text;
}

bool ReadExistingFile(const std::string& path, std::string& text) {
  text.clear();
  platform::File file;
  if (!file.Open(path, platform::OpenMode::Read)) {
    int16_t number = platform::LastError().Number;
    return number == platform::kErrFileNotFound || number == platform::kErrPathNotFound;
  }
  int64_t size = file.Size();
  if (size < 0) return false;
  text.resize(static_cast<size_t>(size));
  if (file.ReadExact(text.data(), text.size())) return true;
  text.clear();
  return false;
}

bool FileContains(const std::string& path, const std::string& text) {
  return ReadTextFile(path).find(text) != std::string::npos;
}

std::string AddBackslash(const std::string& path) {
  // The empty path gives a lone backslash everywhere: the wizard tells a cancelled
  // folder picker by it. Elsewhere the system's own separator is added, so
  // a folder picked on POSIX reads as a POSIX path.
  if (path.empty()) return "\\";
  if (platform::IsSeparator(path.back())) return path;
  return path + platform::kPreferredSeparator;
}

bool CheckFolder(const std::string& path, const bool& create) {
  if (platform::FolderExists(path)) return true;
  if (!create) return false;
  MakeFolder(path);
  return CheckFolder(path, false);
}

bool MakeFolder(const std::string& path) {
  platform::MakeSureDirectoryPathExists(path);
  return CheckFolder(path, false);
}

}  // namespace modTools
