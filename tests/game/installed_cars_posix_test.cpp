// Rewrites of the profile file that fail part-way, run as an ordinary user
// (see RunUnprivileged) so that permissions hold.
#include <gtest/gtest.h>
#include <sys/mount.h>

#include <filesystem>
#include <string>
#include <vector>

#include "common/temp_dir.h"
#include "common/unprivileged_posix.h"
#include "game/installed_cars.h"
#include "game/recording_sink.h"
#include "support/platform.h"

namespace fs = std::filesystem;
using namespace testing_support;

namespace {

// The lists as the unprivileged run saw them: the result of WriteINI, then
// of LoadINI with the entries it loaded.
std::string WriteThenLoad(const TempDir& dir, const std::vector<std::string>& cars) {
  std::string game = dir.Folder();
  std::optional<std::string> report = RunUnprivileged(dir.Path(), [&] {
    std::string text = game::WriteINI(game, cars) ? "written" : "not written";
    std::vector<std::string> loaded;
    text += game::LoadINI(game, loaded) ? ", loaded:" : ", not loaded:";
    for (const std::string& id : loaded) text += " " + id;
    return text;
  });
  return report.value_or("(the unprivileged run failed)");
}

// The owner replaces the file it marked read-only; in a folder it cannot
// write to, the rewrite fails and the old file stays readable.
TEST(GameInstalledCarsUnwritable, MarkedFileIsReplacedOnlyWhereTheFolderAllows) {
  TempDir dir;
  WriteFile(dir / "Vehiforge.ini", "[Cars]\r\nCarsCount=1\r\nCarID1=AAA\r\n");
  ASSERT_TRUE(platform::SetFileAttributes(dir.Folder() + "Vehiforge.ini", platform::kAttrReadOnly |
                                                                              platform::kAttrHidden |
                                                                              platform::kAttrSystem));
  EXPECT_EQ(WriteThenLoad(dir, {"AAA", "BBB"}), "written, loaded: AAA BBB");
  const std::string written = "[Cars]\r\nCarsCount=2\r\nCarID1=AAA\r\nCarID2=BBB\r\n";
  EXPECT_EQ(ReadFile(dir / "Vehiforge.ini"), written);
  EXPECT_EQ(fs::status(dir / "Vehiforge.ini").permissions() &
                (fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write),
            fs::perms::none);
  fs::permissions(dir.Path(), fs::perms(0555));
  EXPECT_EQ(WriteThenLoad(dir, {"AAA", "BBB", "CCC"}), "not written, loaded: AAA BBB");
  EXPECT_EQ(ReadFile(dir / "Vehiforge.ini"), written);
  EXPECT_FALSE(fs::exists(dir / "Vehiforge.ini.tmp"));
}

// A disk that fills up while the new list is written: the old list stays,
// and the run learns why.
TEST(GameInstalledCarsFullDisk, OldListStaysWhenTheNewOneDoesNotFit) {
  TempDir dir;
  if (mount("tmpfs", dir.Path().c_str(), "tmpfs", 0, "size=8k") != 0) GTEST_SKIP() << "cannot mount a tmpfs";
  const std::string old = "[Cars]\r\nCarsCount=1\r\nCarID1=OLD\r\n";
  WriteFile(dir / "Vehiforge.ini", old);
  WriteFile(dir / "filler", std::string(4096, 'x'));
  testing_support::RecordingSink sink;
  bool written = game::WriteINI(dir.Folder(), std::vector<std::string>(600, "NEW"), &sink);
  std::string after = ReadFile(dir / "Vehiforge.ini");
  bool temporary = fs::exists(dir / "Vehiforge.ini.tmp");
  umount(dir.Path().c_str());
  EXPECT_FALSE(written);
  EXPECT_EQ(sink.Calls, std::vector<std::string>{"failed Vehiforge.ini: write failed"});
  EXPECT_EQ(after, old);
  EXPECT_FALSE(temporary);
}

}  // namespace
