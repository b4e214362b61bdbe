// Copying stored files out of the package. A file stored on a page boundary
// the system copies itself, where it will: the bytes never enter this
// program. Otherwise they go through one window of the package: a run of
// small files costs one read instead of one per file, and a large file
// streams through the window in pieces, so memory stays at the window's
// size.
#pragma once

#include <cstdint>
#include <vector>

#include "package/chunk_copy.h"
#include "package/rigbox.h"
#include "support/platform.h"

namespace modRIGBOX {

class PackageWindow {
 public:
  // Reads from file, never past dataEnd (a file offset), kCopyChunkSize
  // bytes at a time.
  PackageWindow(platform::File& file, int64_t dataEnd) : file_(file), dataEnd_(dataEnd) {}

  // Tells progress of every piece written, out of total bytes.
  void ReportTo(ProgressHook progress, void* context, int64_t total) {
    progress_ = progress;
    context_ = context;
    total_ = total;
  }

  // Writes count bytes from file offset `offset` to out's current position.
  CopyResult CopyTo(int64_t offset, int64_t count, platform::File& out);

 private:
  bool Fill(int64_t offset);
  // Copies in the system what it will, advancing offset and count.
  void CopyInSystem(int64_t& offset, int64_t& count, platform::File& out);
  void Written(int64_t count);

  platform::File& file_;
  int64_t dataEnd_;
  std::vector<uint8_t> buffer_;
  int64_t start_ = 0;  // file offset of buffer_[0]
  int64_t filled_ = 0;
  int64_t filePos_ = -1;   // where the file's next read starts; -1 unknown
  bool inSystem_ = true;   // until the system first refuses
  int64_t unpainted_ = 0;  // bytes copied in the system since the last NoteBusy
  ProgressHook progress_ = nullptr;
  void* context_ = nullptr;
  int64_t written_ = 0;
  int64_t total_ = 0;
};

}  // namespace modRIGBOX
