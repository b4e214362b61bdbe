#include "discovery/wine_registry.h"

#include <algorithm>
#include <new>
#include <utility>

#ifdef __x86_64__
#include <immintrin.h>
#elif defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "support/ascii_case.h"
#include "support/platform.h"

namespace modRegistry {
namespace {

using support::AsciiLower;
using support::EqualsIgnoringCase;
using support::StartsWithIgnoringCase;

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// The file's lines one by one, without their line ends.
class LineReader {
 public:
  explicit LineReader(std::string_view text) : text_(text) {}
  bool Next(std::string_view& line) {
    if (pos_ >= text_.size()) return false;
    size_t end = text_.find('\n', pos_);
    if (end == std::string_view::npos) end = text_.size();
    line = text_.substr(pos_, end - pos_);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    pos_ = end + 1;
    return true;
  }

 private:
  std::string_view text_;
  size_t pos_ = 0;
};

// Reads an escaped string from line[pos] to the unescaped terminator and
// moves pos past it. Wine writes C escapes, "\xN" with one to four hex
// digits (UTF-16 code units) and octal "\N"; any other escaped character
// stands for itself, and unescaped bytes are code units of their own.
std::optional<std::u16string> DecodeEscaped(std::string_view line, size_t& pos, char terminator) {
  std::u16string out;
  while (pos < line.size()) {
    char c = line[pos++];
    if (c == terminator) return out;
    if (c != '\\') {
      out += static_cast<char16_t>(static_cast<unsigned char>(c));
      continue;
    }
    if (pos >= line.size()) break;
    char e = line[pos++];
    unsigned value = 0;
    switch (e) {
      case 'a':
        out += u'\a';
        break;
      case 'b':
        out += u'\b';
        break;
      case 'e':
        out += u'\x1b';
        break;
      case 'f':
        out += u'\f';
        break;
      case 'n':
        out += u'\n';
        break;
      case 'r':
        out += u'\r';
        break;
      case 't':
        out += u'\t';
        break;
      case 'v':
        out += u'\v';
        break;
      case 'x':
        for (int n = 0; n < 4 && pos < line.size() && HexValue(line[pos]) >= 0; ++n) {
          value = value * 16 + static_cast<unsigned>(HexValue(line[pos++]));
        }
        out += static_cast<char16_t>(value);
        break;
      default:
        if (e >= '0' && e <= '7') {
          value = static_cast<unsigned>(e - '0');
          for (int n = 1; n < 3 && pos < line.size() && line[pos] >= '0' && line[pos] <= '7'; ++n) {
            value = value * 8 + static_cast<unsigned>(line[pos++] - '0');
          }
          out += static_cast<char16_t>(value);
        } else {
          out += static_cast<char16_t>(static_cast<unsigned char>(e));
        }
    }
  }
  return std::nullopt;
}

std::string Utf16ToBytes(const std::u16string& text) {
  std::string bytes;
  for (char16_t unit : text) {
    bytes += static_cast<char>(unit & 0xFF);
    bytes += static_cast<char>(unit >> 8);
  }
  return bytes;
}

// Comma-separated hex bytes; a line ending in a backslash goes on in the next.
std::optional<std::string> HexBytes(std::string_view rest, LineReader& lines) {
  std::string data;
  size_t pos = 0;
  while (true) {
    while (pos < rest.size() && (rest[pos] == ' ' || rest[pos] == '\t' || rest[pos] == ',')) ++pos;
    if (pos >= rest.size()) return data;
    if (rest[pos] == '\\') {
      if (!lines.Next(rest)) return std::nullopt;
      pos = 0;
      continue;
    }
    if (pos + 1 >= rest.size() || HexValue(rest[pos]) < 0 || HexValue(rest[pos + 1]) < 0) return std::nullopt;
    data += static_cast<char>(HexValue(rest[pos]) * 16 + HexValue(rest[pos + 1]));
    pos += 2;
  }
}

// "(N):" after "str" or "hex": the type number N in hex.
std::optional<uint32_t> TypeInParentheses(std::string_view data, size_t& pos) {
  if (pos >= data.size() || data[pos] != '(') return std::nullopt;
  uint32_t type = 0;
  size_t digits = 0;
  for (++pos; pos < data.size() && HexValue(data[pos]) >= 0; ++pos, ++digits) {
    type = type * 16 + static_cast<uint32_t>(HexValue(data[pos]));
  }
  if (digits == 0 || data.substr(pos, 2) != "):") return std::nullopt;
  pos += 2;
  return type;
}

// The data after "name=": "text", str:"text", str(N):"text", dword:N,
// hex:bytes or hex(N):bytes.
std::optional<WineRegValue> ValueData(std::string_view data, LineReader& lines) {
  WineRegValue value;
  size_t pos = 0;
  bool isString = false;
  if (data.substr(0, 1) == "\"") {
    value.Type = kRegSz;
    isString = true;
  } else if (data.substr(0, 4) == "str:") {
    value.Type = kRegSz;
    isString = true;
    pos = 4;
  } else if (data.substr(0, 3) == "str") {
    pos = 3;
    std::optional<uint32_t> type = TypeInParentheses(data, pos);
    if (!type) return std::nullopt;
    value.Type = *type;
    isString = true;
  }
  if (isString) {
    if (pos >= data.size() || data[pos] != '"') return std::nullopt;
    ++pos;
    std::optional<std::u16string> text = DecodeEscaped(data, pos, '"');
    if (!text) return std::nullopt;
    *text += u'\0';  // stored with its terminating zero
    value.Data = Utf16ToBytes(*text);
    return value;
  }
  if (data.substr(0, 6) == "dword:") {
    uint32_t number = 0;
    size_t digits = 0;
    for (pos = 6; pos < data.size() && HexValue(data[pos]) >= 0 && digits < 8; ++pos, ++digits) {
      number = number * 16 + static_cast<uint32_t>(HexValue(data[pos]));
    }
    if (digits == 0) return std::nullopt;
    value.Type = kRegDword;
    for (int i = 0; i < 4; ++i) value.Data += static_cast<char>((number >> (8 * i)) & 0xFF);
    return value;
  }
  if (data.substr(0, 3) == "hex") {
    pos = 3;
    if (data.substr(pos, 1) == ":") {
      value.Type = kRegBinary;
      ++pos;
    } else {
      std::optional<uint32_t> type = TypeInParentheses(data, pos);
      if (!type) return std::nullopt;
      value.Type = *type;
    }
    std::optional<std::string> bytes = HexBytes(data.substr(pos), lines);
    if (!bytes) return std::nullopt;
    value.Data = std::move(*bytes);
    return value;
  }
  return std::nullopt;
}

// A value line: "name"=data or @=data for the default value.
std::optional<WineRegValue> ValueLine(std::string_view line, LineReader& lines) {
  size_t pos = 1;
  std::string name;
  if (line[0] == '"') {
    std::optional<std::u16string> decoded = DecodeEscaped(line, pos, '"');
    if (!decoded) return std::nullopt;
    name = Utf16LeToUtf8(Utf16ToBytes(*decoded));
  }
  if (pos >= line.size() || line[pos] != '=') return std::nullopt;
  std::optional<WineRegValue> value = ValueData(line.substr(pos + 1), lines);
  if (value) value->Name = std::move(name);
  return value;
}

void AppendUtf8(std::string& out, uint32_t codePoint) {
  if (codePoint < 0x80) {
    out += static_cast<char>(codePoint);
  } else if (codePoint < 0x800) {
    out += static_cast<char>(0xC0 | (codePoint >> 6));
    out += static_cast<char>(0x80 | (codePoint & 0x3F));
  } else if (codePoint < 0x10000) {
    out += static_cast<char>(0xE0 | (codePoint >> 12));
    out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (codePoint & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (codePoint >> 18));
    out += static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (codePoint & 0x3F));
  }
}

// What a section header names, measured against the key looked for.
enum class Header { Other, Key, Below, Unknown };

// A header whose name escapes nothing but backslashes is compared in place:
// most of a registry's thousands of headers then cost no decoding. Unknown
// when the name holds another escape or a non-ASCII byte.
Header PlainHeader(std::string_view line, std::string_view keyPath) {
  size_t k = 0;
  for (size_t pos = 1; pos < line.size(); ++pos) {
    char c = line[pos];
    if (c == ']') return k == keyPath.size() ? Header::Key : Header::Other;
    if (static_cast<unsigned char>(c) >= 0x80) return Header::Unknown;
    if (c == '\\' && (++pos == line.size() || line[pos] != '\\')) return Header::Unknown;
    if (k == keyPath.size()) return c == '\\' ? Header::Below : Header::Other;
    if (AsciiLower(c) != AsciiLower(keyPath[k])) return Header::Other;
    ++k;
  }
  return Header::Unknown;
}

// The header's key path, decoded; nullopt when the header is broken.
std::optional<std::string> HeaderName(std::string_view line) {
  size_t pos = 1;
  std::optional<std::u16string> name = DecodeEscaped(line, pos, ']');
  if (!name) return std::nullopt;
  return Utf16LeToUtf8(Utf16ToBytes(*name));
}

// The header against keyPath, decoding only the names that need it; name
// receives the decoded path of a key below keyPath.
Header MatchHeader(std::string_view line, std::string_view keyPath, std::string* name = nullptr) {
  Header plain = PlainHeader(line, keyPath);
  if (plain == Header::Other || (plain != Header::Unknown && name == nullptr)) return plain;
  std::optional<std::string> decoded = HeaderName(line);
  if (!decoded) return Header::Other;
  if (EqualsIgnoringCase(*decoded, keyPath)) return Header::Key;
  const bool below = decoded->size() > keyPath.size() && (*decoded)[keyPath.size()] == '\\' &&
                     StartsWithIgnoringCase(*decoded, keyPath);
  if (below && name != nullptr) *name = std::move(*decoded);
  return below ? Header::Below : Header::Other;
}

// Key names are alike in any letter case.
void AddName(std::vector<std::string>& names, std::string name) {
  for (const std::string& known : names)
    if (EqualsIgnoringCase(known, name)) return;
  names.push_back(std::move(name));
}

// The last name of keyPath as Wine writes it in a header, lower-cased, with
// what stands before it ("\\\\" or "["). Wine writes printable ASCII as it
// is, "[" and "]" after a backslash; "" for a name it would write with other
// escapes, which is not searched for.
std::string LastNameAsWritten(std::string_view keyPath) {
  const size_t separator = keyPath.rfind('\\');
  std::string written = separator == std::string_view::npos ? "[" : "\\\\";
  const std::string_view name = keyPath.substr(separator + 1);  // npos + 1 is 0
  if (name.empty()) return std::string();
  for (char c : name) {
    if (c < ' ' || c > '~') return std::string();
    if (c == '[' || c == ']') written += '\\';
    written += AsciiLower(c);
  }
  return written;
}

// A lower-case needle looked for in any letter case. Probe is the place of
// the name's first byte: only where it and the last byte match is the
// whole needle compared, which in registry text is seldom.
struct FoldedNeedle {
  std::string_view Text;
  size_t Probe;
  size_t Last;

  bool At(std::string_view text, size_t pos) const {
    for (size_t i = 0; i < Text.size(); ++i) {
      if (AsciiLower(text[pos + i]) != Text[i]) return false;
    }
    return true;
  }
  // OR-ing 0x20 into a byte folds a letter's case and nothing else's.
  char Folding(size_t at) const { return support::IsAsciiLetter(Text[at]) ? 0x20 : 0; }
};

#ifdef __SSE2__
// Sixteen places at a time from pos on, pos left where fewer than sixteen
// remain to be tried.
bool ScanSse2(std::string_view text, const FoldedNeedle& needle, size_t& pos) {
  const __m128i probeFold = _mm_set1_epi8(needle.Folding(needle.Probe));
  const __m128i lastFold = _mm_set1_epi8(needle.Folding(needle.Last));
  const __m128i probeByte = _mm_set1_epi8(needle.Text[needle.Probe]);
  const __m128i lastByte = _mm_set1_epi8(needle.Text[needle.Last]);
  for (; pos + 16 + needle.Last <= text.size(); pos += 16) {
    const char* at = text.data() + pos;
    const __m128i probed = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at + needle.Probe));
    const __m128i lasts = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at + needle.Last));
    auto mask = static_cast<unsigned>(
        _mm_movemask_epi8(_mm_and_si128(_mm_cmpeq_epi8(_mm_or_si128(probed, probeFold), probeByte),
                                        _mm_cmpeq_epi8(_mm_or_si128(lasts, lastFold), lastByte))));
    for (; mask != 0; mask &= mask - 1) {
      if (needle.At(text, pos + static_cast<size_t>(__builtin_ctz(mask)))) return true;
    }
  }
  return false;
}
#endif

#ifdef __x86_64__
// The same, thirty-two at a time, where the processor has AVX2: a thousand
// prefixes' registries are over a gigabyte.
__attribute__((target("avx2"))) bool ScanAvx2(std::string_view text, const FoldedNeedle& needle,
                                              size_t& pos) {
  const __m256i probeFold = _mm256_set1_epi8(needle.Folding(needle.Probe));
  const __m256i lastFold = _mm256_set1_epi8(needle.Folding(needle.Last));
  const __m256i probeByte = _mm256_set1_epi8(needle.Text[needle.Probe]);
  const __m256i lastByte = _mm256_set1_epi8(needle.Text[needle.Last]);
  for (; pos + 32 + needle.Last <= text.size(); pos += 32) {
    const char* at = text.data() + pos;
    const __m256i probed = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(at + needle.Probe));
    const __m256i lasts = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(at + needle.Last));
    auto mask = static_cast<unsigned>(_mm256_movemask_epi8(
        _mm256_and_si256(_mm256_cmpeq_epi8(_mm256_or_si256(probed, probeFold), probeByte),
                         _mm256_cmpeq_epi8(_mm256_or_si256(lasts, lastFold), lastByte))));
    for (; mask != 0; mask &= mask - 1) {
      if (needle.At(text, pos + static_cast<size_t>(__builtin_ctz(mask)))) return true;
    }
  }
  return false;
}
#endif

bool ContainsFolded(std::string_view text, const FoldedNeedle& needle) {
  size_t pos = 0;
#ifdef __x86_64__
  if (__builtin_cpu_supports("avx2") && ScanAvx2(text, needle, pos)) return true;
#endif
#ifdef __SSE2__
  if (ScanSse2(text, needle, pos)) return true;
#endif
  for (; pos + needle.Text.size() <= text.size(); ++pos) {
    if (needle.At(text, pos)) return true;
  }
  return false;
}
}  // namespace

RegistryFile::RegistryFile(const std::string& prefix, const char* name) {
  const std::string path = platform::JoinPath(prefix, name);
  // Only a regular file is opened: a fifo in its place would block the open.
  platform::PathInfo info;
  if (!platform::GetPathInfo(path, info) || info.Kind != platform::PathKind::File || info.Size <= 0 ||
      info.Size > kMaxRegistryFileBytes || !file_.Open(path, platform::OpenMode::Read))
    return;
  const int64_t size = file_.Size();
  if (size <= 0 || size > kMaxRegistryFileBytes) return;
  const auto length = static_cast<size_t>(size);
  mapped_.emplace(file_, 0, length);
  const char* data = reinterpret_cast<const char*>(mapped_->Data());
  if (data == nullptr) {
    copy_.reset(new (std::nothrow) char[length]);
    if (!copy_ || !file_.ReadExact(copy_.get(), length)) return;
    data = copy_.get();
  }
  text_ = std::string_view(data, length);
}

std::optional<std::vector<WineRegValue>> FindWineRegKey(std::string_view fileText, std::string_view keyPath) {
  LineReader lines(fileText);
  std::string_view line;
  bool inKey = false;
  bool hasSubKey = false;
  std::vector<WineRegValue> values;
  while (lines.Next(line)) {
    if (line.empty()) continue;
    if (line[0] == '[') {
      if (inKey) return values;  // the key's section has ended
      const Header header = MatchHeader(line, keyPath);
      inKey = header == Header::Key;
      hasSubKey = hasSubKey || header == Header::Below;
    } else if (inKey && (line[0] == '"' || line[0] == '@')) {
      std::optional<WineRegValue> value = ValueLine(line, lines);
      if (value) values.push_back(std::move(*value));
    }
  }
  // Wine writes no section for a key that holds only subkeys.
  if (inKey || hasSubKey) return values;
  return std::nullopt;
}

std::vector<std::string> WineRegSubKeys(std::string_view fileText, std::string_view keyPath) {
  LineReader lines(fileText);
  std::string_view line;
  std::vector<std::string> names;
  std::string below;
  while (lines.Next(line)) {
    if (line.empty() || line[0] != '[' || MatchHeader(line, keyPath, &below) != Header::Below) continue;
    std::string name = below.substr(keyPath.size() + 1);
    name.resize(std::min(name.size(), name.find('\\')));
    AddName(names, std::move(name));
  }
  return names;
}

bool MayHoldKey(std::string_view fileText, std::string_view keyPath) {
  return MayHoldKeys(fileText, {keyPath})[0];
}

// A piece of the text at a time, each name looked for while the piece is
// in the processor's cache: one pass from memory for all the names.
std::vector<bool> MayHoldKeys(std::string_view fileText, const std::vector<std::string_view>& keyPaths) {
  constexpr size_t kPieceBytes = 64 << 10;
  std::vector<std::string> needles;
  std::vector<bool> mayHold;
  size_t longest = 1;
  for (std::string_view keyPath : keyPaths) {
    needles.push_back(LastNameAsWritten(keyPath));
    mayHold.push_back(needles.back().empty());
    longest = std::max(longest, needles.back().size());
  }
  auto left = static_cast<size_t>(std::count(mayHold.begin(), mayHold.end(), false));
  // Each piece reaches into the next by the longest name less a byte, so
  // that no place is missed.
  for (size_t start = 0; start < fileText.size() && left != 0; start += kPieceBytes) {
    const std::string_view piece = fileText.substr(start, kPieceBytes + longest - 1);
    for (size_t i = 0; i < needles.size(); ++i) {
      const std::string& needle = needles[i];
      if (mayHold[i] ||
          !ContainsFolded(piece, {needle, needle[0] == '[' ? size_t{1} : size_t{2}, needle.size() - 1}))
        continue;
      mayHold[i] = true;
      --left;
    }
  }
  return mayHold;
}

std::vector<std::string> WineKeyViews(std::string_view keyPath) {
  std::string path(keyPath);
  const bool underSoftware =
      StartsWithIgnoringCase(keyPath, "Software\\") || EqualsIgnoringCase(keyPath, "Software");
  if (!underSoftware || StartsWithIgnoringCase(keyPath, "Software\\Wow6432Node")) return {path};
  return {"Software\\Wow6432Node" + path.substr(8), path};
}

std::string Utf16LeToUtf8(std::string_view bytes) {
  std::string out;
  size_t count = bytes.size() / 2;
  auto unitAt = [&](size_t i) {
    return static_cast<uint32_t>(static_cast<unsigned char>(bytes[2 * i])) |
           (static_cast<uint32_t>(static_cast<unsigned char>(bytes[2 * i + 1])) << 8);
  };
  for (size_t i = 0; i < count; ++i) {
    uint32_t unit = unitAt(i);
    if (unit >= 0xD800 && unit < 0xDC00 && i + 1 < count && unitAt(i + 1) >= 0xDC00 &&
        unitAt(i + 1) < 0xE000) {
      AppendUtf8(out, 0x10000 + ((unit - 0xD800) << 10) + (unitAt(i + 1) - 0xDC00));
      ++i;
    } else if (unit >= 0xD800 && unit < 0xE000) {
      AppendUtf8(out, 0xFFFD);
    } else {
      AppendUtf8(out, unit);
    }
  }
  return out;
}

std::string MapDosPath(const std::string& path, const std::string& prefix, DriveRootResolver resolver) {
  const bool driveLetter = path.size() >= 2 && path[1] == ':' && support::IsAsciiLetter(path[0]);
  if (!driveLetter || resolver == nullptr) return path;
  if (path.size() > 2 && path[2] != '\\' && path[2] != '/') return path;  // "C:relative"
  std::string root = resolver(prefix, AsciiLower(path[0]));
  if (root.empty()) return path;
  while (!root.empty() && root.back() == '/') root.pop_back();
  std::string rest = path.substr(2);
  for (char& c : rest) {
    if (c == '\\') c = '/';
  }
  if (root.empty() && rest.empty()) return "/";
  return root + rest;
}

WineRegistryApi::WineRegistryApi(std::vector<std::string> prefixes, DriveRootResolver resolver,
                                 std::vector<std::string> laterKeys)
    : prefixes_(std::move(prefixes)), resolver_(resolver), laterKeys_(std::move(laterKeys)) {}

bool WineRegistryApi::KnownNotToHold(size_t prefix, const std::string& subKey) const {
  const auto known = mayHoldLater_.find(prefix);
  if (known == mayHoldLater_.end()) return false;
  for (size_t i = 0; i < laterKeys_.size(); ++i) {
    const std::string& later = laterKeys_[i];
    const bool atOrBelow = StartsWithIgnoringCase(subKey, later) &&
                           (subKey.size() == later.size() || subKey[later.size()] == '\\');
    if (atOrBelow && !known->second[i]) return true;
  }
  return false;
}

bool WineRegistryApi::MayHoldNoting(size_t prefix, std::string_view text, const std::string& subKey) const {
  if (laterKeys_.empty() || mayHoldLater_.count(prefix) != 0) return MayHoldKey(text, subKey);
  std::vector<std::string_view> keyPaths{subKey};
  keyPaths.insert(keyPaths.end(), laterKeys_.begin(), laterKeys_.end());
  const std::vector<bool> mayHold = MayHoldKeys(text, keyPaths);
  mayHoldLater_[prefix].assign(mayHold.begin() + 1, mayHold.end());
  return mayHold[0];
}

std::vector<std::vector<WineRegValue>> WineRegistryApi::KeysInPrefix(size_t prefix,
                                                                     const std::string& subKey) const {
  std::vector<std::vector<WineRegValue>> keys;
  if (KnownNotToHold(prefix, subKey)) return keys;
  const RegistryFile file(prefixes_[prefix], "system.reg");
  const std::string_view text = file.Text();
  if (text.empty() || !MayHoldNoting(prefix, text, subKey)) return keys;
  for (const std::string& view : WineKeyViews(subKey)) {
    std::optional<std::vector<WineRegValue>> key = FindWineRegKey(text, view);
    if (key) keys.push_back(std::move(*key));
  }
  return keys;
}

std::string WineRegistryApi::ValueData(size_t prefix, const WineRegValue& value) const {
  if (value.Type != kRegSz && value.Type != kRegExpandSz && value.Type != kRegMultiSz) return value.Data;
  std::string text = Utf16LeToUtf8(value.Data);
  if (value.Type != kRegSz) return text;
  const bool terminated = !text.empty() && text.back() == '\0';
  if (terminated) text.pop_back();
  text = MapDosPath(text, prefixes_[prefix], resolver_);
  if (terminated) text += '\0';
  return text;
}

int32_t WineRegistryApi::OpenKey(uint32_t root, const std::string& subKey, uint32_t, uint32_t,
                                 KeyHandle& key) {
  key = 0;
  if (root != kHkeyLocalMachine) return kErrorFileNotFound;
  for (size_t i = firstSource_; i < prefixes_.size(); ++i) {
    std::vector<std::vector<WineRegValue>> keys = KeysInPrefix(i, subKey);
    if (keys.empty()) continue;
    key = nextHandle_++;
    open_[key] = OpenState{subKey, i, std::move(keys)};
    return kErrorSuccess;
  }
  return kErrorFileNotFound;
}

int32_t WineRegistryApi::QueryValue(KeyHandle key, const std::string& valueName, uint32_t& type,
                                    uint8_t* data, uint32_t& length) {
  auto found = open_.find(key);
  if (found == open_.end()) return kErrorInvalidHandle;
  const OpenState& state = found->second;
  // Later prefixes are read only when the first one lacks the value.
  for (size_t i = state.FirstPrefix; i < prefixes_.size(); ++i) {
    std::vector<std::vector<WineRegValue>> laterKeys;
    if (i != state.FirstPrefix) laterKeys = KeysInPrefix(i, state.SubKey);
    const auto& keys = i == state.FirstPrefix ? state.Keys : laterKeys;
    for (const std::vector<WineRegValue>& values : keys) {
      for (const WineRegValue& value : values) {
        if (!EqualsIgnoringCase(value.Name, valueName)) continue;
        std::string bytes = ValueData(i, value);
        type = value.Type;
        if (bytes.size() > length) {
          length = static_cast<uint32_t>(bytes.size());
          return kErrorMoreData;
        }
        std::copy(bytes.begin(), bytes.end(), data);  // raw value bytes, no terminator of their own
        length = static_cast<uint32_t>(bytes.size());
        valueSource_ = prefixes_[i];
        valuePrefix_ = i;
        return kErrorSuccess;
      }
    }
  }
  return kErrorFileNotFound;
}

// The subkeys of every prefix from the first holding the key, each name
// once: a game store's keys may be spread over several prefixes.
int32_t WineRegistryApi::EnumKey(KeyHandle key, uint32_t index, std::string& name) {
  auto found = open_.find(key);
  if (found == open_.end()) return kErrorInvalidHandle;
  OpenState& state = found->second;
  if (!state.SubKeys) {
    state.SubKeys.emplace();
    for (size_t i = state.FirstPrefix; i < prefixes_.size(); ++i) {
      if (KnownNotToHold(i, state.SubKey)) continue;
      const RegistryFile file(prefixes_[i], "system.reg");
      if (!MayHoldKey(file.Text(), state.SubKey)) continue;
      for (const std::string& view : WineKeyViews(state.SubKey)) {
        for (std::string& each : WineRegSubKeys(file.Text(), view)) AddName(*state.SubKeys, std::move(each));
      }
    }
  }
  if (index >= state.SubKeys->size()) return kErrorNoMoreItems;
  name = (*state.SubKeys)[index];
  return kErrorSuccess;
}

bool WineRegistryApi::SkipValueSource() {
  firstSource_ = valuePrefix_ + 1;
  return firstSource_ < prefixes_.size();
}

int32_t WineRegistryApi::CloseKey(KeyHandle key) {
  return open_.erase(key) != 0 ? kErrorSuccess : kErrorInvalidHandle;
}

}  // namespace modRegistry
