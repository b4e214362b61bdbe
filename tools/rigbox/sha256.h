// The SHA-256 of a file, from the system's own implementation (CNG on
// Windows, libmd elsewhere): what car authors publish for players to check
// their download against.
#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>

namespace rigbox_tool {

// Fed the bytes of a file as they are written, so the file is not read again.
class Sha256 {
 public:
  Sha256();
  ~Sha256();
  Sha256(const Sha256&) = delete;
  Sha256& operator=(const Sha256&) = delete;

  void Update(const void* data, size_t size);
  // Lower-case hexadecimal, as sha256sum prints it; nothing when the system
  // has no SHA-256.
  std::optional<std::string> HexDigest();

 private:
  struct Hasher;
  std::unique_ptr<Hasher> hasher_;
};

}  // namespace rigbox_tool
