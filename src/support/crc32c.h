// CRC-32C (Castagnoli), the checksum an installer keeps of its package: the
// processor's CRC instruction computes it where there is one.
#pragma once

#include <cstddef>
#include <cstdint>

namespace support {

// The CRC-32C of size bytes at data, continuing from crc, the result of the
// bytes before them (0 for none).
uint32_t Crc32c(uint32_t crc, const void* data, size_t size);
// The same, byte by byte from a table: what processors without the
// instruction use.
uint32_t Crc32cByTable(uint32_t crc, const void* data, size_t size);

}  // namespace support
