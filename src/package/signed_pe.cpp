#include "package/signed_pe.h"

#include <array>

#include "package/rigbox_format.h"

namespace modRIGBOX {
namespace {

/*
  The few fields of a PE image that lead to its certificate table.

  DOS header:       offset 0x00 "MZ" ... 0x3C e_lfanew (uint32, file offset of the PE signature)
  at e_lfanew:      "PE\0\0", then the 20-byte COFF header (SizeOfOptionalHeader at +16)
  optional header:  at e_lfanew + 24; Magic (uint16) 0x10B for PE32, 0x20B for PE32+;
                    NumberOfRvaAndSizes at +92 (PE32) / +108 (PE32+), the data
                    directories (8 bytes each: address, size) right after it.
  data directory 4: the security directory; its address is a file offset,
                    not a virtual address.
*/
constexpr size_t kLfanewOffset = 0x3C;
constexpr size_t kCoffHeaderSize = 20;
constexpr size_t kSizeOfOptionalHeaderOffset = 16;  // within the COFF header
constexpr uint32_t kPe32Magic = 0x10B;
constexpr uint32_t kPe32PlusMagic = 0x20B;
constexpr size_t kPe32RvaCountOffset = 92;
constexpr size_t kPe32PlusRvaCountOffset = 108;
constexpr uint32_t kSecurityDirectory = 4;
constexpr size_t kDataDirectorySize = 8;

bool ReadAt(platform::File& file, int64_t offset, std::span<uint8_t> out, int64_t fileLength) {
  if (offset < 0 || offset + static_cast<int64_t>(out.size()) > fileLength) return false;
  return file.Seek(offset) && file.ReadExact(out.data(), out.size());
}

}  // namespace

std::optional<int64_t> CertificateTableOffset(platform::File& file, int64_t fileLength) {
  std::array<uint8_t, 64> dosHeader{};
  if (!ReadAt(file, 0, dosHeader, fileLength) || dosHeader[0] != 'M' || dosHeader[1] != 'Z')
    return std::nullopt;
  int64_t peOffset = ByteReader(dosHeader).U32(kLfanewOffset);

  // Signature, COFF header and the optional header up to the end of the
  // security directory of a PE32+ image, the longer of the two forms.
  constexpr size_t kOptionalNeeded =
      kPe32PlusRvaCountOffset + 4 + (kSecurityDirectory + 1) * kDataDirectorySize;
  std::array<uint8_t, 4 + kCoffHeaderSize + kOptionalNeeded> pe{};
  std::span<uint8_t> wanted(pe);
  // A PE32 image may end closer to the end of its headers than a PE32+ one.
  if (peOffset + static_cast<int64_t>(pe.size()) > fileLength) {
    int64_t available = fileLength - peOffset;
    if (available <= 0) return std::nullopt;
    wanted = wanted.first(static_cast<size_t>(available));
  }
  if (!ReadAt(file, peOffset, wanted, fileLength)) return std::nullopt;
  if (wanted.size() < 4 || pe[0] != 'P' || pe[1] != 'E' || pe[2] != 0 || pe[3] != 0) return std::nullopt;

  ByteReader reader(wanted);
  size_t optional = 4 + kCoffHeaderSize;
  uint32_t optionalSize = static_cast<uint16_t>(reader.I16(4 + kSizeOfOptionalHeaderOffset));
  uint32_t magic = static_cast<uint16_t>(reader.I16(optional));
  size_t countOffset = 0;
  if (magic == kPe32Magic) {
    countOffset = kPe32RvaCountOffset;
  } else if (magic == kPe32PlusMagic) {
    countOffset = kPe32PlusRvaCountOffset;
  } else {
    return std::nullopt;
  }
  size_t directory = countOffset + 4 + kSecurityDirectory * kDataDirectorySize;
  if (reader.U32(optional + countOffset) <= kSecurityDirectory ||
      optionalSize < directory + kDataDirectorySize) {
    return std::nullopt;
  }
  int64_t tableOffset = reader.U32(optional + directory);
  int64_t tableSize = reader.U32(optional + directory + 4);
  if (!reader.Ok() || tableSize == 0 || tableOffset + tableSize != fileLength) return std::nullopt;
  return tableOffset;
}

}  // namespace modRIGBOX
