// The string table as compiled data. The definition is generated at build
// time from resources/strings.txt (see resources.cmake); code looks texts up
// through string_table.h.
#pragma once

#include <cstddef>
#include <cstdint>

namespace wizard {

// Every text, UTF-8, each ended by a zero byte.
extern const char kStringTexts[];

// Where an entry has no text in a language.
inline constexpr uint16_t kNoText = 0xFFFF;

// One ID with the offset of its text in kStringTexts per language.
struct StringTableEntry {
  int16_t Id;
  uint16_t English;
  uint16_t Polish;
};

// Sorted by ascending Id (the generator refuses anything else).
extern const StringTableEntry kStringTable[];
extern const size_t kStringTableSize;

}  // namespace wizard
