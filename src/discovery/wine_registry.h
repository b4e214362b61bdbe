// The registry where there is no Windows: HKEY_LOCAL_MACHINE as Wine keeps
// it in a prefix's "system.reg". A game installed with Wine or Proton leaves
// its key there. This file is portable text handling; finding the prefixes
// and their drives on disk is in wine_prefixes.h.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "discovery/registry.h"
#include "support/platform.h"

namespace modRegistry {

// One value of a key as the registry stores it: text types as UTF-16LE
// bytes with their terminating zero, a DWORD as four bytes, little-endian.
struct WineRegValue {
  std::string Name;  // "" for the key's default value ("@")
  uint32_t Type = kRegNone;
  std::string Data;
};

// The values of the key keyPath (a path below the file's root key, such as
// HKEY_LOCAL_MACHINE for system.reg, with single backslashes, matched
// without regard to case) in the text of a Wine registry file, none for a
// key that only holds subkeys, or nullopt when the file has no such key.
// Values of a form this reader does not know are left out.
std::optional<std::vector<WineRegValue>> FindWineRegKey(std::string_view fileText, std::string_view keyPath);

// The names of the keys directly below keyPath in the text of a Wine
// registry file, each once, in the file's order.
std::vector<std::string> WineRegSubKeys(std::string_view fileText, std::string_view keyPath);

// The keys that stand for an HKEY_LOCAL_MACHINE key path, in the order a
// 32-bit program sees them: its own view ("Software\Wow6432Node\...") first,
// then the path as given, the only view of a 32-bit prefix.
std::vector<std::string> WineKeyViews(std::string_view keyPath);

// A registry file is read whole; a bigger one is no prefix's registry.
inline constexpr int64_t kMaxRegistryFileBytes = int64_t{256} << 20;

// A prefix's registry file (name: "system.reg", "user.reg"), mapped where
// the system can, else read whole; no text unless it is a regular file of at
// most kMaxRegistryFileBytes that can be read into the memory left.
class RegistryFile {
 public:
  RegistryFile(const std::string& prefix, const char* name);
  std::string_view Text() const { return text_; }

 private:
  platform::File file_;
  std::optional<platform::FileView> mapped_;
  std::unique_ptr<char[]> copy_;
  std::string_view text_;
};

// Whether fileText may hold the key keyPath: false only when the key's last
// name, in the form Wine writes it after the separator ("\\Gravelon"), is
// nowhere in the text in any letter case. Parsing a registry costs far more
// than this search, and most prefixes lack the key.
bool MayHoldKey(std::string_view fileText, std::string_view keyPath);
// The same for several keys, in one pass through the text.
std::vector<bool> MayHoldKeys(std::string_view fileText, const std::vector<std::string_view>& keyPaths);

// UTF-16LE bytes as UTF-8; an odd last byte is dropped, a lone surrogate
// becomes U+FFFD, zero code units stay zero bytes.
std::string Utf16LeToUtf8(std::string_view bytes);

// The native folder a drive letter of a prefix stands for ("" if unknown).
using DriveRootResolver = std::string (*)(const std::string& prefix, char driveLetter);

// A drive-letter path of the prefix as a native path: "C:\Games\X\" becomes
// the root of drive c: followed by "/Games/X/"; the trailing separator is
// kept as the text has it. Text that is no drive-letter path, or whose drive
// is unknown, is returned unchanged.
std::string MapDosPath(const std::string& path, const std::string& prefix, DriveRootResolver resolver);

// RegistryApi over the system.reg files of Wine prefixes, for
// HKEY_LOCAL_MACHINE only. A key opens when some prefix holds it in either
// view; a value is taken from the first prefix, in the order given, that
// holds it. REG_SZ paths on a drive letter are given as native paths.
// laterKeys are keys a later read will ask for: while a prefix's registry
// is at hand for another key it is also searched for their names, so that
// the later reads pass over the files that cannot hold them, or a key below
// them, without reading those again.
class WineRegistryApi : public RegistryApi {
 public:
  WineRegistryApi(std::vector<std::string> prefixes, DriveRootResolver resolver,
                  std::vector<std::string> laterKeys = {});

  int32_t OpenKey(uint32_t root, const std::string& subKey, uint32_t options, uint32_t access,
                  KeyHandle& key) override;
  int32_t QueryValue(KeyHandle key, const std::string& valueName, uint32_t& type, uint8_t* data,
                     uint32_t& length) override;
  int32_t CloseKey(KeyHandle key) override;
  int32_t EnumKey(KeyHandle key, uint32_t index, std::string& name) override;
  // The prefix of the last value read.
  std::string ValueSource() const override { return valueSource_; }
  bool SkipValueSource() override;
  void RewindValueSources() override { firstSource_ = 0; }

 private:
  struct OpenState {
    std::string SubKey;
    size_t FirstPrefix = 0;                                          // the first prefix that holds the key
    std::vector<std::vector<WineRegValue>> Keys;                     // that prefix's views of it
    std::optional<std::vector<std::string>> SubKeys = std::nullopt;  // listed at the first EnumKey
  };

  std::vector<std::vector<WineRegValue>> KeysInPrefix(size_t prefix, const std::string& subKey) const;
  bool KnownNotToHold(size_t prefix, const std::string& subKey) const;
  // Whether text may hold subKey; notes on the way whether it may hold
  // each of laterKeys_.
  bool MayHoldNoting(size_t prefix, std::string_view text, const std::string& subKey) const;
  std::string ValueData(size_t prefix, const WineRegValue& value) const;

  std::vector<std::string> prefixes_;
  DriveRootResolver resolver_;
  std::map<KeyHandle, OpenState> open_;
  KeyHandle nextHandle_ = 1;
  std::string valueSource_;
  size_t valuePrefix_ = 0;  // the index of valueSource_
  size_t firstSource_ = 0;  // the first prefix read
  std::vector<std::string> laterKeys_;
  // By prefix, whether its registry may hold each of laterKeys_.
  mutable std::map<size_t, std::vector<bool>> mayHoldLater_;
};

}  // namespace modRegistry
