#include <gtest/gtest.h>

#include <fcntl.h>

#include <filesystem>

#include "common/temp_dir.h"
#include "common/unprivileged_posix.h"
#include "package/chunk_copy.h"
#include "package/package_bytes.h"
#include "package/rigbox.h"
#include "support/platform.h"

namespace {

using namespace package_bytes;
using testing_support::ReadFile;
using testing_support::TempDir;
using testing_support::WriteFile;

TEST(PackageExtractPosix, ReadOnlyTargetEndsTheExtraction) {
  TempDir dir;
  WriteFile(dir / "car.rigbox", ExamplePackage());
  WriteFile(dir / "car/Parts/engine.scr", "old");
  std::string dest = dir.Folder() + "car";
  ASSERT_TRUE(platform::SetFileAttributes(dest + "\\Parts\\engine.scr", platform::kAttrReadOnly));
  auto result = testing_support::RunUnprivileged(dir.Path(), [&] {
    if (!modRIGBOX::OpenPackage(1, dir.Folder() + "car.rigbox", "", 0))
      return "open: " + modRIGBOX::LastErrText;
    bool extracted = modRIGBOX::ExtractPackage(dest);
    modRIGBOX::ClosePackage();
    return std::string(extracted ? "written" : "failed") + " " + std::to_string(modRIGBOX::LastErrNumber) +
           " " + modRIGBOX::LastErrText;
  });
  ASSERT_TRUE(result.has_value());
  EXPECT_EQ(*result, "failed 70 Cannot create \"" + dest + "/Parts/engine.scr\": Permission denied");
  EXPECT_EQ(ReadFile(dir / "car/Cars.scr"), kFirstData);
  EXPECT_EQ(ReadFile(dir / "car/Parts/engine.scr"), "old");
}

// A car folder that cannot be made is reported for itself, with its own
// reason, not as its first file's missing path.
TEST(PackageExtractPosix, FolderThatCannotBeMadeGivesItsOwnReason) {
  TempDir dir;
  WriteFile(dir / "car.rigbox", ExamplePackage());
  WriteFile(dir / "locked/keep", "");
  std::filesystem::permissions(dir / "locked", std::filesystem::perms::owner_write,
                               std::filesystem::perm_options::remove);
  auto extract = [&](std::string dest) {
    bool extracted =
        modRIGBOX::OpenPackage(1, dir.Folder() + "car.rigbox", "", 0) && modRIGBOX::ExtractPackage(dest);
    modRIGBOX::ClosePackage();
    return std::string(extracted ? "written " : "failed ") + modRIGBOX::LastErrText;
  };
  auto result =
      testing_support::RunUnprivileged(dir.Path(), [&] { return extract(dir.Folder() + "locked/car"); });
  EXPECT_EQ(result, "failed Cannot create folder \"" + dir.Folder() + "locked/car/\": Permission denied");
  WriteFile(dir / "car", "a file in the way");
  EXPECT_EQ(extract(dir.Folder() + "car"),
            "failed Cannot create folder \"" + dir.Folder() + "car/\": Path/File access error");
}

// Three pieces of a copy and a few bytes more.
const std::string kBig = Patterned(3 * modRIGBOX::kCopyChunkSize + 7);

using Change = void (*)(const std::filesystem::path& dir);

// Extracts kBig, stored on a page boundary for the system to copy it, from
// dir's package into dir/car, making a change at the window's second
// paint, between the second and the third piece.
bool ExtractChangingMidway(const TempDir& dir, Change change) {
  WriteFile(dir / "car.rigbox", OneFilePackage(kBig, 4097));
  if (!modRIGBOX::OpenPackage(1, dir.Folder() + "car.rigbox", "", 0)) return false;
  struct Paint {
    const TempDir& Dir;
    Change Make;
    int Count = 0;
  } paint{dir, change};
  modRIGBOX::SetBusyHook(
      [](void* context) {
        auto* state = static_cast<Paint*>(context);
        if (++state->Count == 2) state->Make(state->Dir.Path());
      },
      &paint);
  std::string dest = dir.Folder() + "car";
  bool extracted = modRIGBOX::ExtractPackage(dest);
  modRIGBOX::SetBusyHook(nullptr, nullptr);
  modRIGBOX::ClosePackage();
  return extracted;
}

// The package loses its end: the short copy is a failure to read the
// package, as a short read is.
TEST(PackageExtractPosix, PackageCutShortWhileCopyingIsAReadFailure) {
  TempDir dir;
  EXPECT_FALSE(ExtractChangingMidway(dir, [](const std::filesystem::path& at) {
    std::filesystem::resize_file(at / "car.rigbox", 4096 + 2 * modRIGBOX::kCopyChunkSize + 100);
  }));
  EXPECT_EQ(modRIGBOX::LastErrNumber, 62);
  EXPECT_EQ(modRIGBOX::LastErrText, "Cannot read Entry 1 (\"Data\\big.bin\") of \"" + dir.Folder() +
                                        "car.rigbox\": Input past end of file");
}

// The system refuses to copy into a file opened for appending: the window
// copies the rest.
TEST(PackageExtractPosix, CopyRefusedMidwayGoesOnThroughTheWindow) {
  TempDir dir;
  EXPECT_TRUE(ExtractChangingMidway(dir, [](const std::filesystem::path& at) {
    std::error_code error;
    for (const auto& fd : std::filesystem::directory_iterator("/proc/self/fd")) {
      if (std::filesystem::equivalent(fd.path(), at / "car/Data/big.bin", error))
        fcntl(std::stoi(fd.path().filename()), F_SETFL, O_APPEND);
    }
  })) << modRIGBOX::LastErrText;
  EXPECT_TRUE(ReadFile(dir / "car/Data/big.bin") == kBig);
}

}  // namespace
