// The string table as compiled data. The definition is generated at build
// time from resources/strings.txt (see resources.cmake); code looks texts up
// through string_table.h.
#pragma once

#include <cstddef>
#include <cstdint>

namespace wizard {

// One ID with its text per language, UTF-8; nullptr where the ID has no text
// in that language.
struct StringTableEntry {
  int16_t Id;
  const char* English;
  const char* Polish;
};

// Sorted by ascending Id (the generator refuses anything else).
extern const StringTableEntry kStringTable[];
extern const size_t kStringTableSize;

}  // namespace wizard
