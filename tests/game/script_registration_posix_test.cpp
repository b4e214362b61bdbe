// Read-only game scripts. The operations run as an ordinary user (see
// RunUnprivileged), since root could append to any file.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <filesystem>
#include <functional>
#include <string>

#include "common/temp_dir.h"
#include "common/unprivileged_posix.h"
#include "game/game_files.h"
#include "game/recording_sink.h"
#include "game/script_registration.h"
#include "support/platform.h"

namespace fs = std::filesystem;
using namespace testing_support;

namespace {

class GameScriptRegistrationReadOnly : public testing::Test {
 protected:
  void SetUp() override {
    WriteFile(dir_ / "Data/Cars/Cars.scr", "c\r\n");
    WriteFile(dir_ / "Data/Cars/Parts.scr", "p\r\n");
    WriteFile(dir_ / "Data/Texts.scr", "t\r\n");
    WriteFile(dir_ / "Data/Menu/uidef/Textures.def", "d\r\n");
  }

  void MakeReadOnly(const std::string& relative) { fs::permissions(dir_ / relative, fs::perms(0444)); }

  bool IsReadOnly(const std::string& relative) const {
    return (fs::status(dir_ / relative).permissions() & fs::perms::owner_write) == fs::perms::none;
  }

  // "true" or "false", then one line per sink call, as the unprivileged run
  // reports it. The tree becomes the user's own unless othersFiles.
  std::string Run(Operation operation, bool othersFiles = false) {
    std::string game = dir_.Folder();
    auto body = [&] {
      RecordingSink sink;
      std::string text = operation(game, "ABC", sink) ? "true" : "false";
      for (const std::string& call : sink.Calls) text += "\n" + call;
      return text;
    };
    std::optional<std::string> report =
        othersFiles ? RunAsUnprivilegedUser(body) : RunUnprivileged(dir_.Path(), body);
    return report.value_or("(the unprivileged run failed)");
  }

  std::string Read(const std::string& relative) const { return ReadFile(dir_ / relative); }

  // Every game script holds car ABC's line after its own.
  void ExpectRegistered() const {
    EXPECT_EQ(Read("Data/Cars/Cars.scr"), "c\r\n!include(\"ABC\\\\Cars.scr\")\r\n\r\n");
    EXPECT_EQ(Read("Data/Cars/Parts.scr"), "p\r\n!include(\"ABC\\\\Parts.scr\")\r\n\r\n");
    EXPECT_EQ(Read("Data/Texts.scr"), "t\r\n" + kTextsTop);
    EXPECT_EQ(Read("Data/Menu/uidef/Textures.def"), "d\r\n" + kIconsTop);
  }

  TempDir dir_;
};

const char* const kGameScripts[] = {"Data/Cars/Cars.scr", "Data/Cars/Parts.scr", "Data/Texts.scr",
                                    "Data/Menu/uidef/Textures.def"};

// The game's scripts lose their read-only mark to take the lines. Once the
// line is there, Data\Texts.scr still loses it; Textures.def and the shared
// cars script are not touched.
TEST_F(GameScriptRegistrationReadOnly, GameScriptsAreMadeWritable) {
  for (const char* script : kGameScripts) MakeReadOnly(script);
  for (Operation operation : kOperations) EXPECT_EQ(Run(operation).substr(0, 4), "true");
  ExpectRegistered();
  for (const char* script : kGameScripts) EXPECT_FALSE(IsReadOnly(script)) << script;
  for (const char* script : kGameScripts) MakeReadOnly(script);
  EXPECT_EQ(Run(game::UpdateGVCarsScript).substr(0, 4), "true");
  EXPECT_EQ(Run(game::UpdateGVTextsScript).substr(0, 4), "true");
  EXPECT_EQ(Run(game::UpdateGVIconsScript).substr(0, 4), "true");
  EXPECT_TRUE(IsReadOnly("Data/Cars/Cars.scr"));
  EXPECT_FALSE(IsReadOnly("Data/Texts.scr"));
  EXPECT_TRUE(IsReadOnly("Data/Menu/uidef/Textures.def"));
}

// A game folder shared by several players: root's scripts, writable by all.
TEST_F(GameScriptRegistrationReadOnly, OthersScriptsWritableByUsTakeTheirLines) {
  if (geteuid() != 0) GTEST_SKIP() << "needs files owned by another user";
  for (const auto& entry : fs::recursive_directory_iterator(dir_.Path())) {
    fs::permissions(entry.path(), fs::perms(entry.is_directory() ? 0777 : 0666));
  }
  fs::permissions(dir_.Path(), fs::perms(0777));
  for (Operation operation : kOperations) EXPECT_EQ(Run(operation, true).substr(0, 4), "true");
  ExpectRegistered();
}

// A full disk is told apart from a missing file; the shared scripts get no
// reset, so a read-only one fails after the top line went in.
TEST_F(GameScriptRegistrationReadOnly, FailuresNameTheFileAndTheReason) {
  // A node of the test's own, like /dev/full: every write fails with ENOSPC.
  std::string full = (dir_ / "Data/Cars/Cars.scr").string();
  fs::remove(full);
  if (mknod(full.c_str(), S_IFCHR | 0666, makedev(1, 7)) != 0)
    GTEST_SKIP() << "making a device node needs root";
  WriteFile(dir_ / "Data/Cars/Texts.scr", "shared\r\n");
  MakeReadOnly("Data/Cars/Texts.scr");
  EXPECT_EQ(Run(game::UpdateGVCarsScript), "false\nfailed Data\\Cars\\Cars.scr: write failed");
  EXPECT_EQ(Run(game::UpdateGVTextsScript), "false\nfailed Data\\Cars\\Texts.scr: cannot open");
  EXPECT_EQ(Read("Data/Texts.scr"), "t\r\n" + kTextsTop);
  EXPECT_EQ(Read("Data/Cars/Texts.scr"), "shared\r\n");
}

// Windows' copy is written only when no link lies on the way down from the
// VirtualStore folder; links above it are the system's business.
TEST(GameStoreCopy, ALinkUnderTheStoreKeepsTheCopyUnwritten) {
  TempDir dir;
  WriteFile(dir / "VirtualStore/real/Cars.scr", "c\r\n");
  fs::create_directory_symlink(dir / "VirtualStore/real", dir / "VirtualStore/link");
  fs::create_directory_symlink(dir.Path(), dir / "above");
  std::string store = dir.Folder() + "above\\VirtualStore\\";
  EXPECT_EQ(game::CopyFault(store + "real\\Cars.scr"), std::nullopt);
  EXPECT_EQ(game::CopyFault(store + "link\\Cars.scr"), game::ScriptFault::ThroughLink);
  fs::remove(dir / "VirtualStore/link");
  fs::create_symlink(dir / "VirtualStore/real/Cars.scr", dir / "VirtualStore/Cars.scr");
  EXPECT_EQ(game::CopyFault(store + "Cars.scr"), game::ScriptFault::ThroughLink);
  EXPECT_EQ(game::CopyFault(store + "missing\\Cars.scr"), game::ScriptFault::ThroughLink);
}

}  // namespace
