#include "package/installer_record.h"

#include <algorithm>

#include "package/chunk_copy.h"
#include "package/rigbox.h"
#include "package/rigbox_errors.h"
#include "package/rigbox_format.h"
#include "support/crc32c.h"

namespace modRIGBOX {
namespace {

using Record = InstallerRecord;
// Offsets in the tail.
constexpr size_t kPackageLength = 0;
constexpr size_t kPackageCrc = 4;
constexpr size_t kLengths = 8;  // name, version, author: 16 bits each
constexpr size_t kFormat = 14;
constexpr size_t kRecordLength = 16;
constexpr size_t kRecordCrc = 20;
constexpr size_t kMagic = 24;
constexpr size_t kMagicSize = Record::kTailSize - kMagic;
// What the check maps at a time: the progress moves on after each.
constexpr size_t kCheckPiece = size_t{8} << 20;

uint16_t U16(ByteReader& reader, size_t offset) { return static_cast<uint16_t>(reader.I16(offset)); }

}  // namespace

std::vector<uint8_t> SerializeInstallerRecord(const InstallerRecord& record) {
  const std::string* texts[] = {&record.Name, &record.Version, &record.Author};
  std::vector<uint8_t> bytes;
  for (const std::string* text : texts) bytes.insert(bytes.end(), text->begin(), text->end());
  size_t tail = bytes.size();
  bytes.resize(tail + Record::kTailSize);
  ByteWriter writer(std::span<uint8_t>(bytes).subspan(tail));
  writer.U32(kPackageLength, record.PackageLength);
  writer.U32(kPackageCrc, record.PackageCrc);
  for (size_t i = 0; i < 3; ++i)
    writer.I16(kLengths + 2 * i, static_cast<int16_t>(static_cast<uint16_t>(texts[i]->size())));
  writer.I16(kFormat, static_cast<int16_t>(Record::kFormatVersion));
  writer.U32(kRecordLength, static_cast<uint32_t>(bytes.size()));
  writer.Chars(kMagic, std::span<const char>(kRecordMagic, kMagicSize));
  writer.U32(kRecordCrc, support::Crc32c(0, bytes.data(), tail + kRecordCrc));
  return bytes;
}

RecordState ReadInstallerRecord(platform::File& file, int64_t headerOffset, InstallerRecord& record) {
  uint8_t tail[Record::kTailSize];
  if (headerOffset < static_cast<int64_t>(sizeof tail) ||
      !file.Seek(headerOffset - static_cast<int64_t>(sizeof tail)) || !file.ReadExact(tail, sizeof tail))
    return RecordState::None;
  int differing = 0;
  for (size_t i = 0; i < kMagicSize; ++i)
    differing += tail[kMagic + i] != static_cast<uint8_t>(kRecordMagic[i]);
  if (differing > 1) return RecordState::None;
  ByteReader reader(tail);
  uint32_t length = reader.U32(kRecordLength);
  size_t lengths[3];
  size_t details = 0;
  for (size_t i = 0; i < 3; ++i) details += lengths[i] = U16(reader, kLengths + 2 * i);
  if (differing != 0 || U16(reader, kFormat) != Record::kFormatVersion || length != details + sizeof tail ||
      length > headerOffset)
    return RecordState::Damaged;
  std::vector<uint8_t> bytes(length);
  if (!file.Seek(headerOffset - length) || !file.ReadExact(bytes.data(), length) ||
      support::Crc32c(0, bytes.data(), details + kRecordCrc) != reader.U32(kRecordCrc))
    return RecordState::Damaged;
  std::string* texts[] = {&record.Name, &record.Version, &record.Author};
  const char* text = reinterpret_cast<const char*>(bytes.data());
  for (size_t i = 0; i < 3; text += lengths[i++]) texts[i]->assign(text, lengths[i]);
  record.PackageLength = reader.U32(kPackageLength);
  record.PackageCrc = reader.U32(kPackageCrc);
  return RecordState::Found;
}

int64_t ProgramLength() {
  int64_t length = static_cast<int64_t>(HeaderPos) - 1;
  if (PackageRecordState == RecordState::Found)
    length -= static_cast<int64_t>(Record::kTailSize + PackageRecord.Name.size() +
                                   PackageRecord.Version.size() + PackageRecord.Author.size());
  return length;
}

bool CheckPackageIntegrity(ProgressHook progress, void* context) {
  if (PackageRecordState == RecordState::None) return true;
  // A package that grew or shrank is as damaged as one with a byte changed.
  int64_t total = PackageLimit;
  bool whole = PackageRecordState == RecordState::Found && PackageRecord.PackageLength == total;
  if (whole) {
    if (!PackageFileNum.Seek(static_cast<int64_t>(HeaderPos) - 1))
      return FailOs("Cannot read", PackageFileName);
    std::vector<uint8_t> buffer;
    uint32_t crc = 0;
    for (int64_t done = 0; done < total;) {
      // Mapped where the system maps files: copying the package through a
      // buffer would cost more than the checksum itself.
      auto chunk = static_cast<size_t>(std::min<int64_t>(total - done, kCheckPiece));
      platform::FileView view(PackageFileNum, HeaderPos - 1 + done, chunk);
      const uint8_t* data = view.Data();
      if (data == nullptr) {
        chunk = std::min(chunk, kCopyChunkSize);
        buffer.resize(chunk);
        if (!PackageFileNum.Seek(HeaderPos - 1 + done) || !PackageFileNum.ReadExact(buffer.data(), chunk))
          return FailOs("Cannot read", PackageFileName);
        data = buffer.data();
      }
      crc = support::Crc32c(crc, data, chunk);
      done += static_cast<int64_t>(chunk);
      if (progress != nullptr) progress(context, done, total);
    }
    whole = crc == PackageRecord.PackageCrc;
  }
  return whole || Fail(support::FailureKind::Damaged, kFormatError,
                       "The installer is damaged: its bytes differ from those it was made with");
}

}  // namespace modRIGBOX
