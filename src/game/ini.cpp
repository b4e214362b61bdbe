#include "game/ini.h"

#include <algorithm>

#include "support/ascii_case.h"
#include "support/platform.h"

namespace modINI {
namespace {

constexpr char kUtf8Mark[] = "\xEF\xBB\xBF";

// The profile reader's idea of a blank: control characters 9 to 13, the
// DOS end-of-file mark 26 and the space.
bool IsBlank(char c) { return (c >= 9 && c <= 13) || c == 26 || c == ' '; }

// The order of SectionIndex's entries.
bool NameBefore(const std::pair<std::string, const ProfileKey*>& entry, const std::string& name) {
  return entry.first < name;
}

std::string TrimmedLeft(const std::string& text) {
  size_t start = 0;
  while (start < text.size() && IsBlank(text[start])) ++start;
  return text.substr(start);
}

std::string Trimmed(const std::string& text) {
  std::string left = TrimmedLeft(text);
  size_t end = left.size();
  while (end > 0 && IsBlank(left[end - 1])) --end;
  return left.substr(0, end);
}

// Names and values end at a zero byte, as the platform's strings do.
std::string UpToZero(const char* begin, const char* end) {
  const char* stop = begin;
  while (stop < end && *stop != '\0') ++stop;
  return std::string(begin, stop);
}

// A section line is "[" ... "]" with anything after the last "]" ignored; a
// line that opens a bracket and never closes it is an ordinary key line.
bool ParseSectionLine(const char* begin, const char* end, std::string& name) {
  if (*begin != '[') return false;
  const char* close = end;
  while (close > begin && close[-1] != ']') --close;
  if (close == begin) return false;
  name = Trimmed(UpToZero(begin + 1, close - 1));
  return true;
}

void ParseKeyLine(const char* begin, const char* end, ProfileSection& section) {
  const char* equals = begin;
  while (equals < end && *equals != '=') ++equals;
  ProfileKey key;
  if (equals < end) {
    const char* nameEnd = equals;
    while (nameEnd > begin && IsBlank(nameEnd[-1])) --nameEnd;
    const char* valueStart = equals + 1;
    while (valueStart < end && IsBlank(*valueStart)) ++valueStart;
    key.Name = UpToZero(begin, nameEnd);
    key.Value = UpToZero(valueStart, end);
  } else {
    key.Name = UpToZero(begin, end);
  }
  // Consecutive lines with an empty name collapse into the first one.
  bool emptyName = (equals < end) && equals == begin;
  if (emptyName && !section.Keys.empty() && section.Keys.back().Name.empty()) return;
  section.Keys.push_back(std::move(key));
}

// Reads the whole file; false when it cannot be opened or read.
bool ReadWhole(const std::string& path, std::string& bytes) {
  platform::File file;
  if (!file.Open(path, platform::OpenMode::Read)) return false;
  int64_t size = file.Size();
  if (size < 0) return false;
  bytes.assign(static_cast<size_t>(size), '\0');
  return bytes.empty() || file.ReadExact(bytes.data(), bytes.size());
}

bool WriteWhole(const std::string& path, const std::string& bytes) {
  platform::File file;
  if (!file.Open(path, platform::OpenMode::Write)) return false;
  bool written = file.WriteAll(bytes.data(), bytes.size());
  return file.Close() && written;
}

// The default loses its trailing spaces, though never its first character.
std::string TrimmedDefault(const std::string& value) {
  size_t end = value.size();
  while (end > 1 && value[end - 1] == ' ') --end;
  return value.substr(0, end);
}

// Only the first section of a name counts, even when a later one of the
// same name holds the key that is looked for.
constexpr size_t kNone = static_cast<size_t>(-1);

size_t FirstSectionAt(const std::vector<ProfileSection>& sections, const std::string& name) {
  for (size_t i = 0; i < sections.size(); ++i) {
    if (support::EqualsIgnoringCase(sections[i].Name, name)) return i;
  }
  return kNone;
}

size_t FirstKeyAt(const ProfileSection& section, const std::string& name) {
  for (size_t i = 0; i < section.Keys.size(); ++i) {
    if (support::EqualsIgnoringCase(section.Keys[i].Name, name)) return i;
  }
  return kNone;
}

}  // namespace

Profile Profile::Parse(const std::string& bytes) {
  Profile profile;
  const char* cursor = bytes.data();
  const char* fileEnd = bytes.data() + bytes.size();
  if (bytes.compare(0, 3, kUtf8Mark) == 0) {
    profile.HasUtf8Mark = true;
    cursor += 3;
  }
  profile.Sections.push_back(ProfileSection{});
  while (cursor < fileEnd) {
    // A line ends at a run of CR and LF bytes in any mix, so LF-only and
    // CR-only files read like CR LF ones.
    const char* begin = cursor;
    while (cursor < fileEnd && *cursor != '\n' && *cursor != '\r') ++cursor;
    while (cursor < fileEnd && (*cursor == '\n' || *cursor == '\r')) ++cursor;
    const char* end = cursor;
    while (begin < end && IsBlank(*begin)) ++begin;
    while (end > begin && IsBlank(end[-1])) --end;
    if (begin == end) continue;
    std::string sectionName;
    if (ParseSectionLine(begin, end, sectionName)) {
      profile.Sections.push_back(ProfileSection{sectionName, {}});
    } else {
      ParseKeyLine(begin, end, profile.Sections.back());
    }
  }
  return profile;
}

std::string Profile::Serialize() const {
  std::string bytes = HasUtf8Mark ? kUtf8Mark : "";
  for (const ProfileSection& section : Sections) {
    if (!section.Name.empty()) bytes += "[" + section.Name + "]\r\n";
    for (const ProfileKey& key : section.Keys) {
      bytes += key.Name;
      if (key.Value) bytes += "=" + *key.Value;
      bytes += "\r\n";
    }
  }
  return bytes;
}

const ProfileKey* Profile::Find(const std::string& section, const std::string& key) const {
  size_t sectionIndex = FirstSectionAt(Sections, Trimmed(section));
  if (sectionIndex == kNone) return nullptr;
  const ProfileSection& found = Sections[sectionIndex];
  size_t keyIndex = FirstKeyAt(found, Trimmed(key));
  return keyIndex == kNone ? nullptr : &found.Keys[keyIndex];
}

bool Profile::Set(const std::string& section, const std::string& key, const std::string& value) {
  size_t sectionIndex = FirstSectionAt(Sections, Trimmed(section));
  if (sectionIndex == kNone) {
    // New names keep their trailing blanks; only leading ones go.
    Sections.push_back(ProfileSection{TrimmedLeft(section), {}});
    sectionIndex = Sections.size() - 1;
  }
  ProfileSection& target = Sections[sectionIndex];
  size_t keyIndex = FirstKeyAt(target, Trimmed(key));
  if (keyIndex == kNone) {
    target.Keys.push_back(ProfileKey{TrimmedLeft(key), std::nullopt});
    keyIndex = target.Keys.size() - 1;
  }
  ProfileKey& entry = target.Keys[keyIndex];
  std::string newValue = TrimmedLeft(value);
  if (entry.Value && *entry.Value == newValue) return false;
  entry.Value = newValue;
  return true;
}

void Profile::Add(const std::string& section, const std::string& key, const std::string& value) {
  size_t sectionIndex = FirstSectionAt(Sections, Trimmed(section));
  if (sectionIndex == kNone) {
    Sections.push_back(ProfileSection{TrimmedLeft(section), {}});
    sectionIndex = Sections.size() - 1;
  }
  Sections[sectionIndex].Keys.push_back(ProfileKey{TrimmedLeft(key), TrimmedLeft(value)});
}

SectionIndex::SectionIndex(const Profile& profile, const std::string& section) {
  std::string name = Trimmed(section);
  for (const ProfileSection& candidate : profile.Sections) {
    if (!support::EqualsIgnoringCase(candidate.Name, name)) continue;
    for (const ProfileKey& key : candidate.Keys) {
      std::string folded = support::AsciiLowered(key.Name);
      auto at = std::lower_bound(keys_.begin(), keys_.end(), folded, NameBefore);
      if (at == keys_.end() || at->first != folded) keys_.emplace(at, std::move(folded), &key);
    }
    return;
  }
}

const ProfileKey* SectionIndex::Find(const std::string& key) const {
  std::string folded = support::AsciiLowered(Trimmed(key));
  auto found = std::lower_bound(keys_.begin(), keys_.end(), folded, NameBefore);
  return found == keys_.end() || found->first != folded ? nullptr : found->second;
}

namespace {

// A file saved as "Unicode" (UTF-16 little-endian with its mark) reads as
// single-byte text, as the system's profile reader gives it to a
// single-byte program. Only ASCII is kept; anything else becomes '?'.
std::string FromUtf16Le(const std::string& bytes) {
  std::string text;
  text.reserve(bytes.size() / 2);
  for (size_t i = 2; i + 1 < bytes.size(); i += 2) {
    unsigned unit = static_cast<unsigned char>(bytes[i]) |
                    static_cast<unsigned>(static_cast<unsigned char>(bytes[i + 1])) << 8;
    if (unit >= 0xDC00 && unit <= 0xDFFF) continue;  // the second half of a pair: one '?' for both
    text += unit < 0x80 ? static_cast<char>(unit) : '?';
  }
  return text;
}

}  // namespace

std::optional<Profile> LoadProfile(const std::string& fileName) {
  std::string bytes;
  if (!ReadWhole(fileName, bytes)) return std::nullopt;
  if (bytes.compare(0, 2, "\xFF\xFE") == 0) return Profile::Parse(FromUtf16Le(bytes));
  return Profile::Parse(bytes);
}

std::string BufferedValue(const std::string& stored, size_t bufferSize) {
  if (bufferSize == 0) return std::string();
  std::string value = stored;
  bool quoted = value.size() >= 2 && (value[0] == '"' || value[0] == '\'') && value.back() == value[0];
  if (quoted) value.erase(0, 1);
  std::string result = value.substr(0, bufferSize - 1);
  // The closing quote is dropped as the last character of what fits, which
  // also costs a character when the value only just fits.
  if (quoted && bufferSize >= value.size() && !result.empty()) result.pop_back();
  return result;
}

std::string ReadProfileString(const std::string& section, const std::string& key,
                              const std::string& defaultValue, size_t bufferSize,
                              const std::string& fileName) {
  if (bufferSize == 0) return std::string();
  std::string fallback = TrimmedDefault(defaultValue);
  std::optional<Profile> profile = LoadProfile(fileName);
  if (!profile) return fallback.substr(0, bufferSize - 1);
  const ProfileKey* found = profile->Find(section, key);
  return BufferedValue(found != nullptr && found->Value ? *found->Value : fallback, bufferSize);
}

std::string ReadINIString(const std::string& section, const std::string& key, const std::string& fileName) {
  return ReadProfileString(section, key, std::string(), kValueBufferSize, fileName);
}

bool WriteINIString(const std::string& section, const std::string& key, const std::string& value,
                    const std::string& fileName) {
  std::string bytes;
  if (!ReadWhole(fileName, bytes)) {
    // Only a missing file may be created; anything else that keeps the
    // file from being read also keeps it from being rewritten.
    if (platform::LastError().Number != platform::kErrFileNotFound) return false;
    bytes.clear();
  } else if (platform::IsReadOnly(fileName)) {
    return false;
  }
  Profile profile = Profile::Parse(bytes);
  if (!profile.Set(section, key, value)) return true;
  return WriteWhole(fileName, profile.Serialize());
}

}  // namespace modINI
