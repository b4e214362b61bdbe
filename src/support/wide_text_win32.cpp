#include "support/wide_text.h"

#include "support/windows_include.h"

namespace support {
namespace {

std::wstring Convert(UINT codePage, DWORD flags, std::string_view text) {
  int size = static_cast<int>(text.size());
  int length = MultiByteToWideChar(codePage, flags, text.data(), size, nullptr, 0);
  if (length <= 0) return std::wstring();
  std::wstring wide(static_cast<size_t>(length), L'\0');
  MultiByteToWideChar(codePage, flags, text.data(), size, wide.data(), length);
  return wide;
}

}  // namespace

std::wstring Widen(std::string_view text) {
  if (text.empty()) return std::wstring();
  std::wstring wide = Convert(CP_UTF8, MB_ERR_INVALID_CHARS, text);
  return wide.empty() ? Convert(CP_ACP, 0, text) : wide;
}

std::string Narrow(std::wstring_view text) {
  if (text.empty()) return std::string();
  int size = static_cast<int>(text.size());
  int length = WideCharToMultiByte(CP_UTF8, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
  if (length <= 0) return std::string();
  std::string narrow(static_cast<size_t>(length), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), size, narrow.data(), length, nullptr, nullptr);
  return narrow;
}

}  // namespace support
