// modRegistry: reading one value from the registry. The reads go through
// RegistryApi, a seam shaped like the advapi32 calls, so tests pass a
// fake and each platform brings its own: the Windows registry, or on POSIX
// the registry files of Wine prefixes (wine_registry.h).
#pragma once

#include <cstdint>
#include <string>

namespace modRegistry {

inline constexpr uint32_t kHkeyCurrentUser = 0x80000001;
inline constexpr uint32_t kHkeyLocalMachine = 0x80000002;
// Read access only: a standard user may not open HKLM keys for writing.
inline constexpr uint32_t kKeyRead = 0x20019;
// Added to the access: the 64-bit view of the registry instead of the
// 32-bit one, which a 32-bit program sees otherwise (KEY_WOW64_64KEY).
inline constexpr uint32_t kKeyWow64_64Key = 0x0100;

// Value types.
inline constexpr uint32_t kRegNone = 0;
inline constexpr uint32_t kRegSz = 1;
inline constexpr uint32_t kRegExpandSz = 2;
inline constexpr uint32_t kRegBinary = 3;
inline constexpr uint32_t kRegDword = 4;
inline constexpr uint32_t kRegMultiSz = 7;

// Status codes of the calls (Windows error codes).
inline constexpr int32_t kErrorSuccess = 0;
inline constexpr int32_t kErrorFileNotFound = 2;
inline constexpr int32_t kErrorInvalidHandle = 6;
inline constexpr int32_t kErrorMoreData = 234;
inline constexpr int32_t kErrorNoMoreItems = 259;

// Size of the buffer a value is read into; longer values are not read.
inline constexpr uint32_t kValueBufferSize = 1024;

using KeyHandle = uintptr_t;

class RegistryApi {
 public:
  // RegOpenKeyEx: opens root\subKey; status 0 and key set on success.
  virtual int32_t OpenKey(uint32_t root, const std::string& subKey, uint32_t options, uint32_t access,
                          KeyHandle& key) = 0;
  // RegQueryValueEx: copies the value's data into data, whose capacity
  // length gives on entry; on success sets type and length to the bytes
  // copied. Text (REG_SZ, REG_EXPAND_SZ, REG_MULTI_SZ) comes as UTF-8 with
  // its terminating zero counted. kErrorMoreData when the data does not fit,
  // kErrorFileNotFound when there is no such value.
  virtual int32_t QueryValue(KeyHandle key, const std::string& valueName, uint32_t& type, uint8_t* data,
                             uint32_t& length) = 0;
  // RegCloseKey.
  virtual int32_t CloseKey(KeyHandle key) = 0;
  // RegEnumKeyEx: the name of the subkey at index, kErrorNoMoreItems past
  // the last. A registry that lists no subkeys needs no more than this.
  virtual int32_t EnumKey(KeyHandle /*key*/, uint32_t /*index*/, std::string& /*name*/) {
    return kErrorNoMoreItems;
  }
  // Where the last value read came from, when this registry is one of
  // several (a Wine prefix's folder); empty for the system's own.
  virtual std::string ValueSource() const { return std::string(); }
  // Reads from now on pass over the last value's source and those before
  // it, so that a stale value in one Wine prefix does not hide the next
  // one's; false when no source is left. Rewind makes all count again.
  virtual bool SkipValueSource() { return false; }
  virtual void RewindValueSources() {}

 protected:
  // Never deleted through this class; a trivial destructor lets the
  // stateless Windows registry lie in read-only data.
  ~RegistryApi() = default;
};

// This platform's registry: advapi32 on Windows (32-bit view), the Wine
// prefixes' registry files on POSIX.
RegistryApi& SystemRegistry();

// True unless keyPath starts or ends with a backslash or holds two in a
// row; empty text is valid.
bool IsValidKeyName(const std::string& keyPath);

// Reads valueName of root\keyPath into outValue: REG_SZ as its text,
// REG_DWORD as decimal text (read as a 32-bit signed number), any other type
// as empty text. False, with outValue untouched, for a malformed key path,
// a key or value that cannot be read, data over kValueBufferSize bytes or
// of length 0. The key is always closed again. view is 0 for the 32-bit
// view or kKeyWow64_64Key.
bool ReadRegistryValue(RegistryApi& api, uint32_t root, const std::string& keyPath,
                       const std::string& valueName, std::string& outValue, uint32_t view = 0);
bool ReadRegistryValue(uint32_t root, const std::string& keyPath, const std::string& valueName,
                       std::string& outValue);

}  // namespace modRegistry
