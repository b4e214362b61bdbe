// modINI: profile ("INI") files, read and written the way the Windows
// profile functions do it, with one portable implementation on every
// platform. Text is single-byte and kept byte for byte; only ASCII letters
// are folded when names are compared.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace modINI {

// The buffer a value is read through: 254 characters and the terminating zero.
inline constexpr size_t kValueBufferSize = 255;

// The value of key in section of fileName, as read through a buffer of 255
// characters (so at most 254 are returned); empty when the file, the section
// or the key is missing.
std::string ReadINIString(const std::string& section, const std::string& key, const std::string& fileName);

// Sets key in section of fileName to value, creating the file and the
// section when they are missing. False when the file is read-only or cannot
// be read or written.
bool WriteINIString(const std::string& section, const std::string& key, const std::string& value,
                    const std::string& fileName);

// What the platform's profile reader leaves in a buffer of bufferSize
// characters (the terminating zero not included). defaultValue stands in for
// a missing file, section or key.
std::string ReadProfileString(const std::string& section, const std::string& key,
                              const std::string& defaultValue, size_t bufferSize,
                              const std::string& fileName);

// One line "name=value", or "name" alone for a line without an equals sign
// (such lines, comments included, are kept so that a rewrite keeps them).
struct ProfileKey {
  std::string Name;
  std::optional<std::string> Value;
};

struct ProfileSection {
  std::string Name;  // empty for the lines before the first section line
  std::vector<ProfileKey> Keys;
};

// A whole profile file in memory. Blank lines and the blanks around names,
// values and section names are not kept, and line ends are written as CR LF.
class Profile {
 public:
  static Profile Parse(const std::string& bytes);
  std::string Serialize() const;

  // The first key of that name in the first section of that name; blanks
  // around both names are ignored, and so is letter case.
  const ProfileKey* Find(const std::string& section, const std::string& key) const;
  // Returns false when the key already holds exactly this value.
  bool Set(const std::string& section, const std::string& key, const std::string& value);
  // Adds the key at the end of the section without looking for one of the
  // same name, for building a file whose keys are known to differ.
  void Add(const std::string& section, const std::string& key, const std::string& value);

  bool HasUtf8Mark = false;  // a byte-order mark is kept in front, never added
  std::vector<ProfileSection> Sections;
};

// Many lookups in one section of a profile, each answered as Find would,
// without a search through the section for every key.
class SectionIndex {
 public:
  SectionIndex(const Profile& profile, const std::string& section);
  const ProfileKey* Find(const std::string& key) const;

 private:
  // Sorted by folded name, first one wins. A sorted vector rather than a
  // hash table: the Windows installer has no room for the hashing code.
  std::vector<std::pair<std::string, const ProfileKey*>> keys_;
};

// The file as a profile; nothing when it cannot be opened for reading.
std::optional<Profile> LoadProfile(const std::string& fileName);

// The text a key's stored value reads as through a buffer of bufferSize
// characters: one pair of matching outer quotes is removed.
std::string BufferedValue(const std::string& stored, size_t bufferSize);

}  // namespace modINI
