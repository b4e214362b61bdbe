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
#ifdef __x86_64__
using Word = uint64_t;
__attribute__((target("sse4.2"))) inline uint32_t CrcWord(uint32_t crc, Word word) {
  return static_cast<uint32_t>(__builtin_ia32_crc32di(crc, word));
}
#else
using Word = uint32_t;
__attribute__((target("sse4.2"))) inline uint32_t CrcWord(uint32_t crc, Word word) {
  return __builtin_ia32_crc32si(crc, word);
}
#endif

__attribute__((target("sse4.2"))) inline uint32_t CrcAt(uint32_t crc, const uint8_t* bytes) {
  Word word;
  std::memcpy(&word, bytes, sizeof word);
  return CrcWord(crc, word);
}

// The instruction takes three cycles and can start one every cycle: three
// lanes of kLane bytes go through it side by side, and their CRCs are put
// together by moving the earlier ones past the later lanes' bytes.
constexpr size_t kLane = 4096;

// What kLane zero bytes do to a CRC register: linear, so four tables of a
// byte each do it at once.
__attribute__((target("sse4.2"))) const uint32_t* PastLane() {
  static uint32_t* table = nullptr;
  if (table != nullptr) return table;
  table = new uint32_t[size_t{4} * 256];
  uint32_t bit[32];
  for (int i = 0; i < 32; ++i) {
    uint32_t crc = 1u << i;
    for (size_t n = 0; n < kLane; n += sizeof(Word)) crc = CrcWord(crc, 0);
    bit[i] = crc;
  }
  for (uint32_t k = 0; k < 4; ++k) {
    for (uint32_t b = 0; b < 256; ++b) {
      uint32_t value = 0;
      for (uint32_t j = 0; j < 8; ++j) value ^= (b >> j & 1) != 0 ? bit[8 * k + j] : 0;
      table[256 * k + b] = value;
    }
  }
  return table;
}

uint32_t MovePastLane(const uint32_t* table, uint32_t crc) {
  return table[crc & 0xFF] ^ table[256 + (crc >> 8 & 0xFF)] ^ table[512 + (crc >> 16 & 0xFF)] ^
         table[768 + (crc >> 24)];
}

// On the CRC register itself, without the inversions around it.
__attribute__((target("sse4.2"))) uint32_t ByInstruction(uint32_t crc, const uint8_t* bytes, size_t size) {
  if (size >= 3 * kLane) {
    const uint32_t* table = PastLane();
    for (; size >= 3 * kLane; size -= 3 * kLane, bytes += 3 * kLane) {
      uint32_t second = 0, third = 0;
      for (size_t i = 0; i < kLane; i += sizeof(Word)) {
        crc = CrcAt(crc, bytes + i);
        second = CrcAt(second, bytes + kLane + i);
        third = CrcAt(third, bytes + 2 * kLane + i);
      }
      crc = MovePastLane(table, MovePastLane(table, crc) ^ second) ^ third;
    }
  }
  for (; size >= sizeof(Word); size -= sizeof(Word), bytes += sizeof(Word)) crc = CrcAt(crc, bytes);
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
