#include "package/rigbox_format.h"

#include <algorithm>
#include <cstring>

namespace modRIGBOX {

namespace {

// The same bits as another type of the same size: what std::bit_cast does,
// which the C++ library of the oldest system the release is built on lacks.
template <typename To, typename From>
To SameBits(From value) {
  static_assert(sizeof(To) == sizeof(From));
  To result;
  std::memcpy(&result, &value, sizeof result);
  return result;
}

}  // namespace

bool ByteReader::Fits(size_t offset, size_t size) {
  if (offset > bytes_.size() || size > bytes_.size() - offset) ok_ = false;
  return ok_;
}

uint32_t ByteReader::U32(size_t offset) {
  if (!Fits(offset, 4)) return 0;
  return static_cast<uint32_t>(bytes_[offset]) | (static_cast<uint32_t>(bytes_[offset + 1]) << 8) |
         (static_cast<uint32_t>(bytes_[offset + 2]) << 16) |
         (static_cast<uint32_t>(bytes_[offset + 3]) << 24);
}

int16_t ByteReader::I16(size_t offset) {
  if (!Fits(offset, 2)) return 0;
  auto bits = static_cast<uint16_t>(bytes_[offset] | (bytes_[offset + 1] << 8));
  return SameBits<int16_t>(bits);
}

int32_t ByteReader::I32(size_t offset) { return SameBits<int32_t>(U32(offset)); }

float ByteReader::F32(size_t offset) { return SameBits<float>(U32(offset)); }

void ByteReader::Chars(size_t offset, std::span<char> out) {
  if (!Fits(offset, out.size())) return;
  std::copy_n(bytes_.begin() + static_cast<std::ptrdiff_t>(offset), out.size(), out.begin());
}

bool ByteWriter::Fits(size_t offset, size_t size) {
  if (offset > bytes_.size() || size > bytes_.size() - offset) ok_ = false;
  return ok_;
}

void ByteWriter::U32(size_t offset, uint32_t value) {
  if (!Fits(offset, 4)) return;
  for (size_t i = 0; i < 4; ++i) bytes_[offset + i] = static_cast<uint8_t>(value >> (8 * i));
}

void ByteWriter::I16(size_t offset, int16_t value) {
  if (!Fits(offset, 2)) return;
  auto bits = SameBits<uint16_t>(value);
  bytes_[offset] = static_cast<uint8_t>(bits);
  bytes_[offset + 1] = static_cast<uint8_t>(bits >> 8);
}

void ByteWriter::I32(size_t offset, int32_t value) { U32(offset, SameBits<uint32_t>(value)); }

void ByteWriter::F32(size_t offset, float value) { U32(offset, SameBits<uint32_t>(value)); }

void ByteWriter::Chars(size_t offset, std::span<const char> text) {
  if (!Fits(offset, text.size())) return;
  std::transform(text.begin(), text.end(), bytes_.begin() + static_cast<std::ptrdiff_t>(offset),
                 [](char c) { return static_cast<uint8_t>(c); });
}

std::optional<RigboxHeader> ParseRigboxHeader(std::span<const uint8_t> bytes) {
  using H = RigboxHeader;
  if (bytes.size() != H::kSize) return std::nullopt;
  ByteReader reader(bytes);
  RigboxHeader header;
  reader.Chars(H::kMagicOffset, header.Magic);
  header.Flags = reader.I16(H::kFlagsOffset);
  header.Version = reader.F32(H::kVersionOffset);
  header.FileCount = reader.I16(H::kFileCountOffset);
  header.DirPos = reader.I32(H::kDirPosOffset);
  header.EndPos = reader.I32(H::kEndPosOffset);
  reader.Chars(H::kCarIdOffset, header.CarID);
  if (!reader.Ok()) return std::nullopt;
  return header;
}

std::array<uint8_t, RigboxHeader::kSize> SerializeRigboxHeader(const RigboxHeader& header) {
  using H = RigboxHeader;
  std::array<uint8_t, H::kSize> bytes{};
  ByteWriter writer(bytes);
  writer.Chars(H::kMagicOffset, header.Magic);
  writer.I16(H::kFlagsOffset, header.Flags);
  writer.F32(H::kVersionOffset, header.Version);
  writer.I16(H::kFileCountOffset, header.FileCount);
  writer.I32(H::kDirPosOffset, header.DirPos);
  writer.I32(H::kEndPosOffset, header.EndPos);
  writer.Chars(H::kCarIdOffset, header.CarID);
  return bytes;
}

std::optional<RigboxEntry> ParseRigboxEntry(std::span<const uint8_t> bytes) {
  using E = RigboxEntry;
  if (bytes.size() != E::kSize) return std::nullopt;
  ByteReader reader(bytes);
  RigboxEntry entry;
  entry.Size = reader.I32(E::kSizeOffset);
  entry.Position = reader.I32(E::kPositionOffset);
  reader.Chars(E::kSubFolderOffset, entry.SubFolder);
  reader.Chars(E::kFileNameOffset, entry.FileName);
  if (!reader.Ok()) return std::nullopt;
  return entry;
}

std::array<uint8_t, RigboxEntry::kSize> SerializeRigboxEntry(const RigboxEntry& entry) {
  using E = RigboxEntry;
  std::array<uint8_t, E::kSize> bytes{};
  ByteWriter writer(bytes);
  writer.I32(E::kSizeOffset, entry.Size);
  writer.I32(E::kPositionOffset, entry.Position);
  writer.Chars(E::kSubFolderOffset, entry.SubFolder);
  writer.Chars(E::kFileNameOffset, entry.FileName);
  return bytes;
}

bool HasRigboxMagic(const RigboxHeader& header) {
  return std::string_view(header.Magic.data(), header.Magic.size()) == kRigboxMagic;
}

bool HasRigboxVersion(const RigboxHeader& header) {
  return SameBits<uint32_t>(header.Version) == kRigboxVersionBits;
}

RigboxHeader NewRigboxHeader(std::string_view carId, int16_t flags) {
  RigboxHeader header;
  std::copy(kRigboxMagic.begin(), kRigboxMagic.end(), header.Magic.begin());
  header.Flags = flags;
  header.Version = SameBits<float>(kRigboxVersionBits);
  header.FileCount = 0;
  header.DirPos = 0;
  header.EndPos = static_cast<int32_t>(RigboxHeader::kSize);
  header.CarID.fill(' ');
  std::copy_n(carId.begin(), std::min(carId.size(), header.CarID.size()), header.CarID.begin());
  return header;
}

namespace {

std::string WithoutTrailingSpaces(std::string_view text) {
  size_t end = text.find_last_not_of(' ');
  return std::string(text.substr(0, end == std::string_view::npos ? 0 : end + 1));
}

}  // namespace

std::string EntrySubFolder(const RigboxEntry& entry) {
  std::string_view field(entry.SubFolder.data(), entry.SubFolder.size());
  size_t nul = field.find('\0');
  // Without the NUL the maker did not write this field; its padding is
  // the only sensible end of the name.
  if (nul == std::string_view::npos) return WithoutTrailingSpaces(field);
  return std::string(field.substr(0, nul));
}

std::string EntryFileName(const RigboxEntry& entry) {
  return WithoutTrailingSpaces(std::string_view(entry.FileName.data(), entry.FileName.size()));
}

std::string EntryPath(const RigboxEntry& entry) {
  std::string subFolder = EntrySubFolder(entry);
  std::string fileName = EntryFileName(entry);
  return subFolder.empty() ? fileName : subFolder + "\\" + fileName;
}

bool SetEntrySubFolder(RigboxEntry& entry, std::string_view subFolder) {
  if (subFolder.size() >= entry.SubFolder.size()) return false;
  entry.SubFolder.fill(' ');
  std::copy(subFolder.begin(), subFolder.end(), entry.SubFolder.begin());
  entry.SubFolder[subFolder.size()] = '\0';
  return true;
}

bool SetEntryFileName(RigboxEntry& entry, std::string_view fileName) {
  if (fileName.size() > entry.FileName.size()) return false;
  entry.FileName.fill(' ');
  std::copy(fileName.begin(), fileName.end(), entry.FileName.begin());
  return true;
}

}  // namespace modRIGBOX
