// Steam keeps the games a player adds by hand in the binary form of its
// VDF format; only the Linux installer reads it.
#include <cstdint>
#include <utility>

#include "discovery/launcher_files.h"
#include "support/ascii_case.h"

namespace discovery {
namespace {

/* Binary VDF: a map is a run of entries closed by kEnd; the file is the
   top map, whose kEnd may be left out at the very end.

     entry:  type (1 byte) | key (bytes up to a zero byte) | value
     value:  kMap    - the entries of a nested map, then kEnd
             kText   - bytes up to a zero byte
             kInt32  - 4 bytes, little-endian
*/
constexpr uint8_t kMap = 0x00;
constexpr uint8_t kText = 0x01;
constexpr uint8_t kInt32 = 0x02;
constexpr uint8_t kEnd = 0x08;
constexpr size_t kInt32Bytes = 4;

// Reads forward through the bytes; a read past the end fails and every
// later read fails too.
class ByteReader {
 public:
  explicit ByteReader(std::string_view bytes) : bytes_(bytes) {}
  bool Ok() const { return ok_; }
  bool AtEnd() const { return pos_ == bytes_.size(); }
  uint8_t Byte() {
    if (!Need(1)) return 0;
    return static_cast<uint8_t>(bytes_[pos_++]);
  }
  std::string ZeroEnded() {
    const size_t zero = ok_ ? bytes_.find('\0', pos_) : std::string_view::npos;
    if (zero == std::string_view::npos) {
      ok_ = false;
      return std::string();
    }
    std::string text(bytes_.substr(pos_, zero - pos_));
    pos_ = zero + 1;
    return text;
  }
  void Skip(size_t count) {
    if (Need(count)) pos_ += count;
  }

 private:
  bool Need(size_t count) {
    ok_ = ok_ && bytes_.size() - pos_ >= count;
    return ok_;
  }
  std::string_view bytes_;
  size_t pos_ = 0;
  bool ok_ = true;
};

// Steam quotes the paths it writes there; a value without quotes is taken
// as it stands.
std::string Unquoted(const std::string& text) {
  if (text.size() >= 2 && text.front() == '"' && text.back() == '"') return text.substr(1, text.size() - 2);
  return text;
}

}  // namespace

std::vector<BinaryVdfText> BinaryVdfTexts(std::string_view bytes) {
  std::vector<BinaryVdfText> texts;
  ByteReader reader(bytes);
  size_t depth = 0;  // maps open below the top one
  while (reader.Ok() && !reader.AtEnd()) {
    const uint8_t type = reader.Byte();
    if (type == kEnd) {
      if (depth-- == 0) return texts;
      continue;
    }
    std::string key = reader.ZeroEnded();
    if (type == kMap) {
      ++depth;
    } else if (type == kText) {
      std::string value = reader.ZeroEnded();
      if (reader.Ok()) texts.push_back({std::move(key), std::move(value)});
    } else if (type == kInt32) {
      reader.Skip(kInt32Bytes);
    } else {
      return {};
    }
  }
  if (!reader.Ok() || depth != 0) return {};
  return texts;
}

std::vector<std::string> SteamShortcutFolders(std::string_view vdfBytes) {
  std::vector<std::string> folders;
  for (const BinaryVdfText& text : BinaryVdfTexts(vdfBytes)) {
    std::string path = Unquoted(text.Value);
    if (support::EqualsIgnoringCase(text.Key, "Exe")) {
      const size_t slash = path.rfind('/');
      path.resize(slash == std::string::npos ? 0 : slash);
    } else if (!support::EqualsIgnoringCase(text.Key, "StartDir")) {
      continue;
    }
    if (!path.empty()) folders.push_back(std::move(path));
  }
  return folders;
}

}  // namespace discovery
