#include "discovery/registry.h"

#include <optional>

#include "support/text_format.h"

namespace modRegistry {
namespace {

// The "&H" literal of the hex digits, as decimal text: up to eight
// significant digits it is a 32-bit signed number ("&HFFFFFFFF" is -1);
// longer data, which no real DWORD has, stays in hexadecimal.
std::string HexLiteralText(const std::string& digits) {
  size_t first = digits.find_first_not_of('0');
  if (first == std::string::npos) return "0";
  std::string significant = digits.substr(first);
  if (significant.size() > 8) return "&H" + significant;
  uint32_t value = 0;
  for (char c : significant) {
    value = value * 16 + static_cast<uint32_t>(c <= '9' ? c - '0' : c - 'A' + 10);
  }
  return support::DecimalText(static_cast<int32_t>(value));
}

// The kept bytes from the last to the first, two upper-case hex digits each.
std::string DwordText(const std::string& kept) {
  std::string digits;
  for (auto it = kept.rbegin(); it != kept.rend(); ++it) {
    digits += support::HexText(static_cast<unsigned char>(*it), 2);
  }
  return HexLiteralText(digits);
}

std::optional<std::string> QueryText(RegistryApi& api, KeyHandle key, const std::string& valueName) {
  uint8_t buffer[kValueBufferSize] = {};
  uint32_t length = kValueBufferSize;
  uint32_t type = kRegNone;
  if (api.QueryValue(key, valueName, type, buffer, length) != kErrorSuccess) return std::nullopt;
  if (length == 0 || length > kValueBufferSize) return std::nullopt;
  // The length counts a string's terminating zero; data without one (a
  // DWORD whose high byte is set, an unterminated string) is kept whole.
  uint32_t keptLength = buffer[length - 1] == 0 ? length - 1 : length;
  std::string kept(reinterpret_cast<const char*>(buffer), keptLength);
  switch (type) {
    case kRegSz:
      return kept;
    case kRegDword:
      return DwordText(kept);
    default:
      return std::string();
  }
}

}  // namespace

bool IsValidKeyName(const std::string& keyPath) {
  if (keyPath.empty()) return true;
  return keyPath.front() != '\\' && keyPath.back() != '\\' && keyPath.find("\\\\") == std::string::npos;
}

bool ReadRegistryValue(RegistryApi& api, uint32_t root, const std::string& keyPath,
                       const std::string& valueName, std::string& outValue, uint32_t view) {
  if (!IsValidKeyName(keyPath)) return false;
  KeyHandle key = 0;
  std::optional<std::string> text;
  if (api.OpenKey(root, keyPath, 0, kKeyRead | view, key) == kErrorSuccess) {
    text = QueryText(api, key, valueName);
  }
  api.CloseKey(key);
  if (!text) return false;
  outValue = *text;
  return true;
}

bool ReadRegistryValue(uint32_t root, const std::string& keyPath, const std::string& valueName,
                       std::string& outValue) {
  return ReadRegistryValue(SystemRegistry(), root, keyPath, valueName, outValue);
}

}  // namespace modRegistry
