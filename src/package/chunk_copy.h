// Copying a stored file between two open files in fixed-size chunks, so the
// memory used does not grow with the largest file of a car.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "support/platform.h"

namespace modRIGBOX {

// Small enough to stay in the processor's cache between the read and the
// write (a 1 MiB buffer measured up to three times slower), large enough
// that the calls themselves cost little.
inline constexpr size_t kCopyChunkSize = size_t{256} << 10;

enum class CopyResult { Done, ReadFailed, WriteFailed };

// Copies count bytes from the current position of from to the current
// position of to. buffer is grown to at most kCopyChunkSize and may be
// reused across calls. A short read fails (platform::LastError tells).
CopyResult CopyChunks(platform::File& from, platform::File& to, int64_t count, std::vector<uint8_t>& buffer);

}  // namespace modRIGBOX
