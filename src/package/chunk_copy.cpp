#include "package/chunk_copy.h"

#include <algorithm>

namespace modRIGBOX {

CopyResult CopyChunks(platform::File& from, platform::File& to, int64_t count, std::vector<uint8_t>& buffer) {
  if (count <= 0) return CopyResult::Done;
  size_t wanted = static_cast<size_t>(std::min<int64_t>(count, static_cast<int64_t>(kCopyChunkSize)));
  if (buffer.size() < wanted) buffer.resize(wanted);
  while (count > 0) {
    size_t chunk = static_cast<size_t>(std::min<int64_t>(count, static_cast<int64_t>(buffer.size())));
    if (!from.ReadExact(buffer.data(), chunk)) return CopyResult::ReadFailed;
    if (!to.WriteAll(buffer.data(), chunk)) return CopyResult::WriteFailed;
    count -= static_cast<int64_t>(chunk);
  }
  return CopyResult::Done;
}

}  // namespace modRIGBOX
