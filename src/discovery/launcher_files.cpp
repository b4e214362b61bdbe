#include "discovery/launcher_files.h"

#include <cstdlib>
#include <utility>

#include "support/ascii_case.h"
#include "support/platform.h"

namespace discovery {
namespace {

bool IsPathKey(std::string_view key) { return support::EqualsIgnoringCase(key, "path"); }

bool IsNumber(std::string_view text) {
  return !text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos;
}

// The old format numbers its libraries beside other numbered entries (app
// IDs with sizes), which hold no path.
bool IsAbsolutePath(std::string_view text) {
  if (!text.empty() && platform::IsSeparator(text[0])) return true;
  return text.size() > 2 && support::IsAsciiLetter(text[0]) && text[1] == ':' &&
         platform::IsSeparator(text[2]);
}

int CompareNames(const void* a, const void* b) {
  return (*static_cast<const std::string* const*>(a))->compare(**static_cast<const std::string* const*>(b));
}

// The quoted text that starts at text[pos], pos left on its closing quote.
// A backslash takes the next character as it is (\" and \\).
std::string QuotedText(std::string_view text, size_t& pos) {
  std::string out;
  for (++pos; pos < text.size() && text[pos] != '"'; ++pos) {
    if (text[pos] == '\\' && pos + 1 < text.size()) ++pos;
    out += text[pos];
  }
  return out;
}

}  // namespace

std::string ReadLauncherFile(const std::string& path) {
  platform::PathInfo info;
  if (!platform::GetPathInfo(path, info) || info.Kind != platform::PathKind::File) return std::string();
  platform::File file;
  if (!file.Open(path, platform::OpenMode::Read)) return std::string();
  const int64_t size = file.Size();
  if (size <= 0 || size > kMaxLauncherFileBytes) return std::string();
  std::string text(static_cast<size_t>(size), '\0');
  if (!file.ReadExact(text.data(), text.size())) return std::string();
  return text;
}

std::vector<std::string> SortedNames(const std::string& folder) {
  std::vector<std::string> names;
  std::vector<platform::FolderEntry> entries;
  if (!platform::ListFolder(folder, entries)) return names;
  // The C library's qsort over pointers: std::sort would cost the Windows
  // installer kilobytes.
  std::vector<const std::string*> order(entries.size());
  for (size_t i = 0; i < entries.size(); ++i) order[i] = &entries[i].Name;
  // The elements sorted are the pointers themselves.
  // NOLINTNEXTLINE(bugprone-sizeof-expression)
  std::qsort(order.data(), order.size(), sizeof(order[0]), CompareNames);
  for (const std::string* name : order) names.push_back(*name);
  return names;
}

// "key" "value" pairs and "key" { block }: a key followed by a block holds
// no value of its own.
std::vector<std::string> SteamLibraryPaths(std::string_view vdfText) {
  std::vector<std::string> paths;
  std::string key;
  bool haveKey = false;
  for (size_t pos = 0; pos < vdfText.size(); ++pos) {
    if (vdfText[pos] == '{' || vdfText[pos] == '}') haveKey = false;
    if (vdfText[pos] != '"') continue;
    std::string text = QuotedText(vdfText, pos);
    if (!haveKey) {
      key = std::move(text);
      haveKey = true;
      continue;
    }
    haveKey = false;
    if (IsPathKey(key) || (IsNumber(key) && IsAbsolutePath(text))) paths.push_back(std::move(text));
  }
  return paths;
}

std::string ScanJsonString(std::string_view jsonText, std::string_view key) {
  int seen = 0;  // 1: the key came last; 2: the key and its colon
  for (size_t pos = 0; pos < jsonText.size(); ++pos) {
    const char c = jsonText[pos];
    if (c == '"') {
      std::string text = QuotedText(jsonText, pos);
      if (seen == 2 && pos < jsonText.size()) return text;  // a closed string
      seen = text == key ? 1 : 0;
    } else if (c == ':' && seen == 1) {
      seen = 2;
    } else if (static_cast<unsigned char>(c) > ' ') {  // JSON's blanks are all below it
      seen = 0;
    }
  }
  return std::string();
}

std::vector<std::string> SteamLibraries(const std::string& steamFolder) {
  std::vector<std::string> libraries{steamFolder};
  for (const char* folder : {"steamapps", "config"}) {
    const std::string file =
        platform::JoinPath(platform::JoinPath(steamFolder, folder), "libraryfolders.vdf");
    for (std::string& path : SteamLibraryPaths(ReadLauncherFile(file))) libraries.push_back(std::move(path));
  }
  return libraries;
}

}  // namespace discovery
