#include "support/tools.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "common/temp_dir.h"
#include "support/platform.h"

namespace fs = std::filesystem;
using namespace testing_support;

namespace {

using SupportCheckFolder = TempDirTest;

// CheckFolder creates every missing level; MakeFolder takes a last level
// without a separator for a file name.
TEST_F(SupportCheckFolder, CreatesEveryMissingLevel) {
  std::string deep = dir.Folder() + "Data\\Cars\\ABC\\Parts\\";
  EXPECT_FALSE(modTools::CheckFolder(deep, false));
  EXPECT_TRUE(modTools::CheckFolder(deep, true));
  EXPECT_TRUE(fs::is_directory(dir / "Data/Cars/ABC/Parts"));
  EXPECT_FALSE(modTools::MakeFolder(dir.Folder() + "One\\Two"));
  EXPECT_TRUE(fs::is_directory(dir / "One"));
  EXPECT_FALSE(fs::exists(dir / "One/Two"));
  fs::create_directory(dir / "One/Two");
  EXPECT_TRUE(modTools::MakeFolder(dir.Folder() + "One\\Two"));
}

}  // namespace
