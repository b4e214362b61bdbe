#include <gtest/gtest.h>

#include <random>

#include "common/temp_dir.h"
#include "package/package_bytes.h"
#include "package/rigbox.h"
#include "support/crc32c.h"

namespace {

using namespace package_bytes;
using modRIGBOX::RecordState;
using testing_support::TempDir;
using testing_support::WriteFile;

// The standard's check value, and the instruction agreeing with the table
// at every alignment and length, and across pieces.
TEST(SupportCrc32c, MatchesTheStandardAtEveryAlignment) {
  EXPECT_EQ(support::Crc32c(0, "123456789", 9), 0xE3069283u);
  std::mt19937 random(7);
  std::vector<uint8_t> bytes(40000);
  for (uint8_t& byte : bytes) byte = static_cast<uint8_t>(random());
  for (size_t start = 0; start < 9; ++start) {
    for (size_t size : {0, 1, 2, 3, 5, 7, 8, 9, 15, 16, 17, 31, 12287, 12288, 12289, 24583, 39000}) {
      uint32_t whole = support::Crc32c(0, bytes.data() + start, size);
      ASSERT_EQ(whole, support::Crc32cByTable(0, bytes.data() + start, size)) << start << " " << size;
      uint32_t first = support::Crc32c(0, bytes.data() + start, size / 3);
      ASSERT_EQ(whole, support::Crc32c(first, bytes.data() + start + size / 3, size - size / 3));
    }
  }
}

class PackageIntegrity : public ::testing::Test {
 protected:
  void TearDown() override { modRIGBOX::ClosePackage(); }

  // A stub of 100 bytes, the record, the package and the trailer.
  static std::string Installer(const std::string& package, modRIGBOX::InstallerRecord record) {
    record.PackageLength = static_cast<uint32_t>(package.size());
    record.PackageCrc = support::Crc32c(0, package.data(), package.size());
    std::vector<uint8_t> bytes = modRIGBOX::SerializeInstallerRecord(record);
    std::string stub = "MZ" + std::string(98, 'x') + std::string(bytes.begin(), bytes.end());
    return stub + package + Le32(static_cast<int32_t>(stub.size() + 1));
  }

  // Opens bytes as an installer and checks its package; the progress seen.
  bool Check(const std::string& bytes, int64_t* progress = nullptr) {
    modRIGBOX::ClosePackage();  // Windows writes no file held open
    WriteFile(dir_ / "setup", bytes);
    if (!modRIGBOX::OpenPackage(modRIGBOX::kModeAppended, dir_.Folder() + "setup", "", 0)) return false;
    return modRIGBOX::CheckPackageIntegrity(
        [](void* seen, int64_t done, int64_t total) {
          if (seen != nullptr && done <= total) *static_cast<int64_t*>(seen) = done;
        },
        progress);
  }

  TempDir dir_;
};

TEST_F(PackageIntegrity, WholeInstallerPassesWithItsDetails) {
  int64_t progress = 0;
  ASSERT_TRUE(Check(Installer(ExamplePackage(), {0, 0, "Żuk Rally", "1.2", "Jan"}), &progress));
  EXPECT_EQ(modRIGBOX::PackageRecordState, RecordState::Found);
  EXPECT_EQ(modRIGBOX::PackageRecord.Name, "Żuk Rally");
  EXPECT_EQ(modRIGBOX::PackageRecord.Version, "1.2");
  EXPECT_EQ(modRIGBOX::PackageRecord.Author, "Jan");
  EXPECT_EQ(progress, 216);
}

// Installers made before the record, or by another maker, install as ever.
TEST_F(PackageIntegrity, InstallerWithoutRecordPasses) {
  ASSERT_TRUE(Check(SelfExtracting(ExamplePackage(), 100)));
  EXPECT_EQ(modRIGBOX::PackageRecordState, RecordState::None);
  // Two bytes of the magic changed: no record either.
  std::string bytes = Installer(ExamplePackage(), {});
  size_t magic = bytes.find("RIGBOXCK");
  bytes[magic] = bytes[magic + 7] = '?';
  ASSERT_TRUE(Check(bytes));
  EXPECT_EQ(modRIGBOX::PackageRecordState, RecordState::None);
}

// Each byte of the record and of the package changed in turn, the magic
// included: never taken for whole.
TEST_F(PackageIntegrity, EveryChangedByteIsRefused) {
  const std::string whole = Installer(ExamplePackage(), {0, 0, "Car", "1", "Me"});
  const size_t trailer = whole.size() - 4;
  for (size_t at = 100; at < trailer; ++at) {
    std::string bytes = whole;
    bytes[at] = static_cast<char>(bytes[at] ^ 0x01);
    ASSERT_FALSE(Check(bytes)) << at;
    // Within the header, the open may refuse first (magic, version).
    if (at < trailer - 216 || at >= trailer - 216 + 12) {
      ASSERT_EQ(modRIGBOX::LastFailure.Kind, support::FailureKind::Damaged) << at;
    }
  }
}

// A package that grew by a byte, its trailer moved along.
TEST_F(PackageIntegrity, LongerPackageIsRefused) {
  std::string bytes = Installer(ExamplePackage(), {});
  bytes.insert(bytes.size() - 4, "!");
  EXPECT_FALSE(Check(bytes));
  EXPECT_EQ(modRIGBOX::LastFailure.Kind, support::FailureKind::Damaged);
}

}  // namespace
