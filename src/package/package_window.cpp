#include "package/package_window.h"

#include <algorithm>

#include "package/rigbox.h"

namespace modRIGBOX {
namespace {

constexpr int64_t kPageSize = 4096;

}  // namespace

bool PackageWindow::Fill(int64_t offset) {
  // Past the data area (which the directory checks rule out) a single byte
  // is read, so the system itself reports whatever is there.
  int64_t size = std::clamp<int64_t>(dataEnd_ - offset, 1, static_cast<int64_t>(kCopyChunkSize));
  filled_ = 0;
  if (buffer_.size() < static_cast<size_t>(size)) buffer_.resize(static_cast<size_t>(size));
  if (filePos_ != offset && !file_.Seek(offset)) {
    filePos_ = -1;
    return false;
  }
  filePos_ = -1;
  if (!file_.ReadExact(buffer_.data(), static_cast<size_t>(size))) return false;
  start_ = offset;
  filled_ = size;
  filePos_ = offset + size;
  NoteBusy();
  return true;
}

void PackageWindow::CopyInSystem(int64_t& offset, int64_t& count, platform::File& out) {
  while (inSystem_ && count > 0) {
    auto piece = static_cast<size_t>(std::min(count, static_cast<int64_t>(kCopyChunkSize)));
    int64_t copied = file_.CopyRangeTo(offset, piece, out);
    // Refused, failed or short: memory takes over, for this file and the
    // rest, and tells a read failure from a write failure as before.
    if (copied <= 0) {
      inSystem_ = false;
      return;
    }
    offset += copied;
    count -= copied;
    Written(copied);
    unpainted_ += copied;
    if (unpainted_ >= static_cast<int64_t>(kCopyChunkSize)) {
      unpainted_ = 0;
      NoteBusy();
    }
  }
}

void PackageWindow::Written(int64_t count) {
  written_ += count;
  if (progress_ != nullptr) progress_(context_, written_, total_);
}

CopyResult PackageWindow::CopyTo(int64_t offset, int64_t count, platform::File& out) {
  // From a page boundary the system copies at least as fast as the window,
  // and a file system may even share the blocks; from anywhere else (as
  // the maker stores files, right after the header) its copy measured a
  // third slower than reading and writing.
  if (offset % kPageSize == 0) CopyInSystem(offset, count, out);
  while (count > 0) {
    bool inside = offset >= start_ && offset < start_ + filled_;
    if (!inside && !Fill(offset)) return CopyResult::ReadFailed;
    int64_t available = std::min(count, start_ + filled_ - offset);
    if (!out.WriteAll(buffer_.data() + (offset - start_), static_cast<size_t>(available))) {
      return CopyResult::WriteFailed;
    }
    Written(available);
    offset += available;
    count -= available;
  }
  return CopyResult::Done;
}

}  // namespace modRIGBOX
