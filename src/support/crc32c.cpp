#include "support/crc32c.h"

#include <cstring>

#if defined(__i386__) || defined(__x86_64__)
#include <cpuid.h>
#define RIGBOX_CRC_INSTRUCTION 1
#endif

namespace support {
namespace {

// Made on first use, on the heap: a zero-filled global would take file
// space in the Windows installer.
const uint32_t* Table() {
  static uint32_t* table = nullptr;
  if (table != nullptr) return table;
  table = new uint32_t[256];
  for (uint32_t i = 0; i < 256; ++i) {
    uint32_t value = i;
    for (int bit = 0; bit < 8; ++bit) value = (value >> 1) ^ (0x82F63B78u & (0u - (value & 1)));
    table[i] = value;
  }
  return table;
}

#ifdef RIGBOX_CRC_INSTRUCTION
__attribute__((target("sse4.2"))) uint32_t ByInstruction(uint32_t crc, const uint8_t* bytes, size_t size) {
#ifdef __x86_64__
  uint64_t wide = crc;
  for (; size >= 8; size -= 8, bytes += 8) {
    uint64_t word;
    std::memcpy(&word, bytes, sizeof word);
    wide = __builtin_ia32_crc32di(wide, word);
  }
  crc = static_cast<uint32_t>(wide);
#else
  for (; size >= 4; size -= 4, bytes += 4) {
    uint32_t word;
    std::memcpy(&word, bytes, sizeof word);
    crc = __builtin_ia32_crc32si(crc, word);
  }
#endif
  for (; size > 0; --size) crc = __builtin_ia32_crc32qi(crc, *bytes++);
  return crc;
}

bool HasInstruction() {
  unsigned a = 0, b = 0, c = 0, d = 0;
  return __get_cpuid(1, &a, &b, &c, &d) != 0 && (c & bit_SSE4_2) != 0;
}
#endif

}  // namespace

uint32_t Crc32cByTable(uint32_t crc, const void* data, size_t size) {
  const uint32_t* table = Table();
  const auto* bytes = static_cast<const uint8_t*>(data);
  crc = ~crc;
  for (size_t i = 0; i < size; ++i) crc = (crc >> 8) ^ table[(crc ^ bytes[i]) & 0xFF];
  return ~crc;
}

uint32_t Crc32c(uint32_t crc, const void* data, size_t size) {
#ifdef RIGBOX_CRC_INSTRUCTION
  static const bool hasInstruction = HasInstruction();
  if (hasInstruction) return ~ByInstruction(~crc, static_cast<const uint8_t*>(data), size);
#endif
  return Crc32cByTable(crc, data, size);
}

}  // namespace support
