#include "package/safe_names.h"

#include <array>

#include "support/ascii_case.h"
#include "support/text_format.h"

namespace modRIGBOX {
namespace {

constexpr size_t kMaxSubFolder = 15;  // the 16-byte field keeps room for its NUL
constexpr size_t kMaxFileName = 64;

bool IsSlash(char c) { return c == '\\' || c == '/'; }

// Windows opens a device instead of a file for these names, with or
// without an extension.
bool IsDeviceName(std::string_view part) {
  std::string base;
  for (char c : part.substr(0, part.find('.'))) base += support::AsciiUpper(c);
  static constexpr std::array<std::string_view, 4> kDevices = {"CON", "PRN", "AUX", "NUL"};
  for (std::string_view device : kDevices) {
    if (base == device) return true;
  }
  bool numbered = base.size() == 4 && (base.starts_with("COM") || base.starts_with("LPT"));
  return numbered && base[3] >= '1' && base[3] <= '9';
}

// The rules every part of a path obeys, folder or file.
const char* PartProblem(std::string_view part) {
  if (part.empty()) return "has an empty part";
  for (char c : part) {
    auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7F) return "has a control character";
    if (byte >= 0x80) return "is not plain ASCII";
  }
  for (char c : part) {
    if (c == ':') return "has a colon (a drive or a stream)";
    if (std::string_view("<>\"|?*").find(c) != std::string_view::npos)
      return "has a character Windows reserves";
  }
  if (part == "..") return "has a \"..\" part";
  if (part == ".") return "has a \".\" part";
  // Windows drops trailing dots and spaces, so "a." and "a" would be one file.
  if (part.back() == '.' || part.back() == ' ') return "ends with a dot or a space";
  if (IsDeviceName(part)) return "is a device name";
  return nullptr;
}

}  // namespace

std::string_view FolderWithoutTrailingSeparator(std::string_view subFolder) {
  if (subFolder.size() > 1 && IsSlash(subFolder.back())) subFolder.remove_suffix(1);
  return subFolder;
}

const char* SubFolderProblem(std::string_view subFolder) {
  if (subFolder.empty()) return nullptr;
  if (subFolder.size() > kMaxSubFolder) return "is longer than 15 characters";
  if (IsSlash(subFolder.front())) return "starts with a separator";
  subFolder = FolderWithoutTrailingSeparator(subFolder);
  size_t start = 0;
  while (true) {
    size_t end = start;
    while (end < subFolder.size() && !IsSlash(subFolder[end])) ++end;
    if (const char* problem = PartProblem(subFolder.substr(start, end - start))) return problem;
    if (end == subFolder.size()) return nullptr;
    start = end + 1;
  }
}

const char* FileNameProblem(std::string_view fileName) {
  if (fileName.empty()) return "is empty";
  if (fileName.size() > kMaxFileName) return "is longer than 64 characters";
  for (char c : fileName) {
    if (IsSlash(c)) return "has a slash or backslash";
  }
  return PartProblem(fileName);
}

std::string PrintableName(std::string_view name) {
  std::string result;
  for (char c : name) {
    auto byte = static_cast<unsigned char>(c);
    if (byte >= 0x20 && byte < 0x7F) {
      result += c;
    } else {
      result += "\\x" + support::HexText(byte, 2);
    }
  }
  return result;
}

}  // namespace modRIGBOX
