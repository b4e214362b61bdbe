#include "package/signed_pe.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "common/temp_dir.h"
#include "package/package_bytes.h"
#include "package/rigbox.h"

namespace {

using namespace package_bytes;
using namespace testing_support;

constexpr uint16_t kPe32 = 0x10B;
constexpr uint16_t kPe32Plus = 0x20B;
constexpr size_t kImageSize = 1024;

void Poke(std::string& bytes, size_t offset, const std::string& value) {
  bytes.replace(offset, value.size(), value);
}

// The headers of a PE image, kImageSize bytes long, with the security
// directory (entry 4) set to the given file offset and size.
std::string PeImage(uint16_t magic, int32_t certOffset, int32_t certSize, int32_t rvaCount = 16,
                    const std::string& signature = std::string("PE\0\0", 4)) {
  std::string image(kImageSize, '\0');
  Poke(image, 0, "MZ");
  Poke(image, 0x3C, Le32(0x80));
  Poke(image, 0x80, signature);
  bool plus = magic == kPe32Plus;
  size_t coff = 0x84;
  Poke(image, coff, Le16(0x14C));                                                  // Machine
  Poke(image, coff + 16, Le16(static_cast<int16_t>((plus ? 112 : 96) + 16 * 8)));  // SizeOfOptionalHeader
  size_t optional = coff + 20;
  Poke(image, optional, Le16(static_cast<int16_t>(magic)));
  size_t count = optional + (plus ? 108 : 92);
  Poke(image, count, Le32(rvaCount));
  size_t security = count + 4 + 4 * 8;
  Poke(image, security, Le32(certOffset));
  Poke(image, security + 4, Le32(certSize));
  return image;
}

// A signed installer: the image, the package, the trailer, then the
// certificate table that the image's security directory points at.
// padding zero bytes stand between the trailer and the table, as signing
// tools align the table to 8 bytes.
std::string SignedInstaller(uint16_t magic, const std::string& package, size_t padding = 0) {
  const std::string certificate = std::string(16, '\xFF');
  auto certOffset = static_cast<int32_t>(kImageSize + package.size() + 4 + padding);
  return PeImage(magic, certOffset, static_cast<int32_t>(certificate.size())) + package +
         Le32(static_cast<int32_t>(kImageSize + 1)) + std::string(padding, '\0') + certificate;
}

class PackageSignedPe : public ::testing::Test {
 protected:
  void TearDown() override { modRIGBOX::ClosePackage(); }

  std::string Put(const std::string& bytes) {
    WriteFile(dir_ / "setup.exe", bytes);
    return dir_.Folder() + "setup.exe";
  }

  TempDir dir_;
};

// The trailer sits before the certificate table and up to 7 bytes of
// padding. Its own high bytes are zero here (1025 = 01 04 00 00), so the
// padding cannot simply be skipped.
TEST_F(PackageSignedPe, TrailerIsFoundBeforeTheTableAndItsPadding) {
  for (uint16_t magic : {kPe32, kPe32Plus}) {
    for (size_t padding = 0; padding < 8; ++padding) {
      std::string path = Put(SignedInstaller(magic, ExamplePackage(), padding));
      EXPECT_TRUE(modRIGBOX::CheckAppendedPackage(path))
          << magic << "/" << padding << ": " << modRIGBOX::LastErrText;
      EXPECT_EQ(modRIGBOX::HeaderPos, 1025) << magic << "/" << padding;
    }
  }
  // A non-zero byte before the table is no padding: the usual trailer
  // place holds no package then.
  std::string bytes = SignedInstaller(kPe32, ExamplePackage(), 4);
  bytes[bytes.size() - 17] = '\x01';
  EXPECT_FALSE(modRIGBOX::CheckAppendedPackage(Put(bytes)));
}

struct ImageCase {
  const char* Label;
  std::string Bytes;
  std::optional<int64_t> Expected;
};

TEST_F(PackageSignedPe, CertificateTableOffsetCases) {
  const ImageCase cases[] = {
      {"PE32 signed", PeImage(kPe32, 1000, 24), 1000},
      {"PE32+ signed", PeImage(kPe32Plus, 1020, 4), 1020},
      {"table ends before the end", PeImage(kPe32, 1000, 23), std::nullopt},
      {"table runs past the end", PeImage(kPe32, 1000, 25), std::nullopt},
      {"no security directory entry", PeImage(kPe32, 1000, 24, 4), std::nullopt},
      {"empty security directory", PeImage(kPe32, 1024, 0), std::nullopt},
      {"not a PE signature", PeImage(kPe32, 1000, 24, 16, "PX\0\0"), std::nullopt},
      {"ROM image magic", PeImage(0x107, 1000, 24), std::nullopt},
      {"no MZ", "ZM" + PeImage(kPe32, 1000, 24).substr(2), std::nullopt},
      {"e_lfanew past the end", "MZ" + std::string(0x3A, '\0') + Le32(5000) + std::string(960, '\0'),
       std::nullopt},
      {"shorter than a DOS header", "MZ", std::nullopt},
  };
  for (const auto& c : cases) {
    std::string path = Put(c.Bytes);
    platform::File file;
    ASSERT_TRUE(file.Open(path, platform::OpenMode::Read));
    EXPECT_EQ(modRIGBOX::CertificateTableOffset(file, file.Size()), c.Expected) << c.Label;
  }
}

}  // namespace
