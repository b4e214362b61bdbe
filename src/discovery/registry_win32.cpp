#include <cstring>
#include <string>
#include <vector>

#include "discovery/registry.h"
#include "support/wide_text.h"
#include "support/windows_include.h"

namespace modRegistry {
namespace {

using support::Narrow;
using support::Widen;

HKEY RootHandle(uint32_t root) {
  // Predefined keys are sign-extended 32-bit values.
  return reinterpret_cast<HKEY>(static_cast<intptr_t>(static_cast<int32_t>(root)));
}

// The wide API, so that text arrives as UTF-8 whatever the ANSI code page.
// Keys are read in the 32-bit view, where a 32-bit game records its folder,
// unless the 64-bit one is asked for.
class Win32RegistryApi : public RegistryApi {
 public:
  int32_t OpenKey(uint32_t root, const std::string& subKey, uint32_t options, uint32_t access,
                  KeyHandle& key) override {
    HKEY handle = nullptr;
    if ((access & KEY_WOW64_64KEY) == 0) access |= KEY_WOW64_32KEY;
    LONG status = RegOpenKeyExW(RootHandle(root), Widen(subKey).c_str(), options, access, &handle);
    key = reinterpret_cast<KeyHandle>(handle);
    return status;
  }

  int32_t QueryValue(KeyHandle key, const std::string& valueName, uint32_t& type, uint8_t* data,
                     uint32_t& length) override {
    // UTF-16 text takes at most two bytes for each byte of its UTF-8 form.
    std::vector<BYTE> raw(static_cast<size_t>(length) * 2 + 2);
    DWORD rawType = REG_NONE;
    DWORD rawLength = static_cast<DWORD>(raw.size());
    LONG status = RegQueryValueExW(reinterpret_cast<HKEY>(key), Widen(valueName).c_str(), nullptr, &rawType,
                                   raw.data(), &rawLength);
    if (status != ERROR_SUCCESS) return status;
    std::string bytes;
    if (rawType == REG_SZ || rawType == REG_EXPAND_SZ || rawType == REG_MULTI_SZ) {
      // Narrow keeps zero code units, so a string's terminating zero stays in the data.
      std::wstring wide(rawLength / sizeof(wchar_t), L'\0');
      std::memcpy(wide.data(), raw.data(), wide.size() * sizeof(wchar_t));
      bytes = Narrow(wide);
    } else {
      bytes.assign(reinterpret_cast<const char*>(raw.data()), rawLength);
    }
    type = rawType;
    if (bytes.size() > length) {
      length = static_cast<uint32_t>(bytes.size());
      return ERROR_MORE_DATA;
    }
    if (!bytes.empty()) std::memcpy(data, bytes.data(), bytes.size());
    length = static_cast<uint32_t>(bytes.size());
    return ERROR_SUCCESS;
  }

  int32_t CloseKey(KeyHandle key) override { return RegCloseKey(reinterpret_cast<HKEY>(key)); }

  int32_t EnumKey(KeyHandle key, uint32_t index, std::string& name) override {
    wchar_t buffer[256];  // a key name has at most 255 characters
    DWORD length = 256;
    LONG status = RegEnumKeyExW(reinterpret_cast<HKEY>(key), index, buffer, &length, nullptr, nullptr,
                                nullptr, nullptr);
    if (status == ERROR_SUCCESS) name = Narrow(std::wstring_view(buffer, length));
    return status;
  }
};

}  // namespace

RegistryApi& SystemRegistry() {
  // Stateless, so it can lie in read-only data: the installer then has no
  // initialised writable data at all, which saves it a file page.
  static const Win32RegistryApi registry;
  return const_cast<Win32RegistryApi&>(registry);
}

}  // namespace modRegistry
