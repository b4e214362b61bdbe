#include <gtest/gtest.h>

#include <filesystem>

#include "common/temp_dir.h"
#include "common/unprivileged_posix.h"
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

// Windows finds a folder whatever its letter case; on POSIX the package's
// "Parts" must land in an existing "parts", not in a second folder.
TEST(PackageExtractPosix, ExistingFolderInAnotherCaseIsUsed) {
  TempDir dir;
  WriteFile(dir / "car.rigbox", ExamplePackage());
  std::filesystem::create_directories(dir / "car/parts");
  ASSERT_TRUE(modRIGBOX::OpenPackage(1, dir.Folder() + "car.rigbox", "", 0));
  std::string dest = dir.Folder() + "car";
  EXPECT_TRUE(modRIGBOX::ExtractPackage(dest)) << modRIGBOX::LastErrText;
  modRIGBOX::ClosePackage();
  EXPECT_EQ(ReadFile(dir / "car/parts/engine.scr"), kSecondData);
  EXPECT_FALSE(std::filesystem::exists(dir / "car/Parts"));
}

}  // namespace
