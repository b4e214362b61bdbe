// The resolver's cached listing must stay true to the folder. The folder's
// time is set by hand: a change the resolver is told of must count even
// when the time stayed as it was (two changes within one tick of the clock).
#include "support/path_resolver_posix.h"

#include <fcntl.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "common/temp_dir.h"
#include "support/platform.h"

namespace fs = std::filesystem;
using testing_support::WriteFile;

namespace {

class SupportPathResolver : public testing::Test {
 protected:
  void SetUp() override {
    fs::create_directory(dir_ / "Sub");
    WriteFile(dir_ / "Cars.scr", "x");
    Stamp(0);
  }
  void Stamp(long nanoseconds, time_t second = 1000) {
    const struct timespec times[2] = {{second, nanoseconds}, {second, nanoseconds}};
    ASSERT_EQ(utimensat(AT_FDCWD, dir_.Path().c_str(), times, 0), 0);
  }
  std::string At(const std::string& name) const { return dir_.Path().string() + "/" + name; }

  testing_support::TempDir dir_;
  platform::PathResolver resolver_;
};

// Out of the listed folder, then back into it.
TEST_F(SupportPathResolver, FindsAMovedNameOnlyAtItsNewPlace) {
  EXPECT_EQ(resolver_.Resolve(At("cars.scr")), At("Cars.scr"));
  fs::rename(dir_ / "Cars.scr", dir_ / "Sub/Cars.scr");
  Stamp(0);
  resolver_.Moved(At("Cars.scr"), At("Sub/Cars.scr"));
  EXPECT_EQ(resolver_.Resolve(At("cars.scr")), At("cars.scr"));
  fs::rename(dir_ / "Sub/Cars.scr", dir_ / "Cars.bak");
  Stamp(0);
  resolver_.Moved(At("Sub/Cars.scr"), At("Cars.bak"));
  EXPECT_EQ(resolver_.Resolve(At("CARS.BAK")), At("Cars.bak"));
}

// Another program's changes show in the folder's time alone, to the
// nanosecond and to the second.
TEST_F(SupportPathResolver, NoticesAFolderChangedBehindItsBack) {
  EXPECT_EQ(resolver_.Resolve(At("new.ini")), At("new.ini"));
  WriteFile(dir_ / "New.ini", "");
  Stamp(1);
  EXPECT_EQ(resolver_.Resolve(At("NEW.INI")), At("New.ini"));
  WriteFile(dir_ / "Old.ini", "");
  Stamp(1, 1001);
  EXPECT_EQ(resolver_.Resolve(At("OLD.INI")), At("Old.ini"));
}

// The platform layer tells its resolver what it changes.
TEST_F(SupportPathResolver, PlatformCallsReportTheirChanges) {
  EXPECT_EQ(platform::NativePath(At("CARS.SCR")), At("Cars.scr"));
  platform::File file;
  ASSERT_TRUE(file.Open(At("New.ini"), platform::OpenMode::Write));
  Stamp(0);
  EXPECT_EQ(platform::NativePath(At("NEW.INI")), At("New.ini"));
  ASSERT_TRUE(platform::DeleteFile(At("new.ini")));
  Stamp(0);
  EXPECT_EQ(platform::NativePath(At("NEW.INI")), At("NEW.INI"));
  // The trailing separator goes: the listing that loses the name is the root.
  ASSERT_TRUE(platform::RemoveFolder(At("sub\\")));
  Stamp(0);
  EXPECT_EQ(platform::NativePath(At("SUB")), At("SUB"));
}

// A Linux folder may have a backslash in its name: that name, where it
// exists in some letter case, is one name; elsewhere a backslash separates.
TEST_F(SupportPathResolver, ABackslashInAnExistingNameIsPartOfIt) {
  fs::create_directories(dir_ / "my\\lib/Game");
  EXPECT_EQ(resolver_.Resolve(At("my\\lib")), At("my\\lib"));
  EXPECT_EQ(resolver_.Resolve(At("MY\\LIB/game/Data\\new")), At("my\\lib/Game/Data/new"));
}

}  // namespace
