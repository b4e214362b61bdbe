// Package bytes put together by hand from the format, independent of the
// module's own writer, so tests compare against the format itself.
#pragma once

#include <cstdint>
#include <string>

namespace package_bytes {

inline std::string Le16(int16_t value) {
  auto bits = static_cast<uint16_t>(value);
  return {static_cast<char>(bits & 0xFF), static_cast<char>(bits >> 8)};
}

inline std::string Le32(int32_t value) {
  auto bits = static_cast<uint32_t>(value);
  std::string bytes;
  for (int i = 0; i < 4; ++i) bytes += static_cast<char>((bits >> (8 * i)) & 0xFF);
  return bytes;
}

// Version 1.0 as a single: 00 00 80 3F.
inline const std::string kVersion1 = std::string("\x00\x00\x80\x3F", 4);

inline std::string Header(const std::string& magic, int16_t flags, const std::string& version,
                          int16_t fileCount, int32_t dirPos, int32_t endPos, const std::string& carId) {
  return magic + Le16(flags) + version + Le16(fileCount) + Le32(dirPos) + Le32(endPos) + carId;
}

// A SubFolder field as the maker writes it: name, NUL, spaces to 16 bytes.
inline std::string Folder(const std::string& name) {
  std::string field = name + std::string(1, '\0');
  return field + std::string(16 - field.size(), ' ');
}

// A FileName field: the name, spaces to 64 bytes.
inline std::string Name(const std::string& name) { return name + std::string(64 - name.size(), ' '); }

inline std::string Entry(int32_t size, int32_t position, const std::string& folderField,
                         const std::string& nameField) {
  return Le32(size) + Le32(position) + folderField + nameField;
}

// The example package: "Cars.scr" (10 bytes) in the car's folder and
// "engine.scr" (5 bytes) in "Parts"; DirPos 41, EndPos 216.
inline const std::string kFirstData = "0123456789";
inline const std::string kSecondData = "abcde";

inline std::string ExamplePackage() {
  return Header("RIGBOX", 0, kVersion1, 2, 41, 216, "ABC") + kFirstData + kSecondData +
         Entry(10, 26, Folder(""), Name("Cars.scr")) + Entry(5, 36, Folder("Parts"), Name("engine.scr"));
}

// A package of one file, "Data\big.bin", stored at position `at`.
inline std::string OneFilePackage(const std::string& data, int32_t at = 26) {
  auto size = static_cast<int32_t>(data.size());
  return Header("RIGBOX", 0, kVersion1, 1, at + size, at - 1 + size + 88, "BIG") + std::string(at - 26, 'x') +
         data + Entry(size, at, Folder("Data"), Name("big.bin"));
}

// size bytes in a pattern that shows any piece out of place.
inline std::string Patterned(size_t size) {
  std::string bytes(size, '\0');
  for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>(i * 7 % 253);
  return bytes;
}

// An executable part of stubSize bytes, the package, and the trailer.
inline std::string SelfExtracting(const std::string& package, size_t stubSize) {
  std::string stub = "MZ" + std::string(stubSize - 2, 'x');
  return stub + package + Le32(static_cast<int32_t>(stubSize + 1));
}

}  // namespace package_bytes
