#include "game/script_registration.h"

#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/stat.h>
#include <sys/sysmacros.h>
#endif

#include <filesystem>
#include <iterator>
#include <string>
#include <vector>

#include "common/temp_dir.h"
#include "game/recording_sink.h"
#ifndef _WIN32
#include "common/unprivileged_posix.h"
#include "game/game_files.h"
#endif

namespace fs = std::filesystem;
using namespace testing_support;
using Calls = std::vector<std::string>;

namespace {

// The bytes each operation appends to the cars' shared scripts.
const std::string kCarsAbc = "!include(\"ABC\\\\Cars.scr\")\r\n\r\n";
const std::string kPartsAbc = "!include(\"ABC\\\\Parts.scr\")\r\n\r\n";
const std::string kTextsAbc = "!include(\"ABC\\\\Texts.scr\")\r\n\r\n";
const std::string kIconsAbc = "!include(\"ABC\\\\Icons.scr\")\r\n\r\n";

size_t EntriesBelow(const fs::path& folder) {
  return static_cast<size_t>(
      std::distance(fs::recursive_directory_iterator(folder), fs::recursive_directory_iterator()));
}

class GameScriptRegistration : public testing::Test {
 protected:
  // A game folder as the game ships it: the shared cars and parts scripts
  // and both top-level scripts exist, some with their last line unended;
  // the shared texts and icons do not.
  void SetUp() override {
    WriteFile(dir_ / "Data/Cars/Cars.scr", "// game cars");
    WriteFile(dir_ / "Data/Cars/Parts.scr", "mac\r");
    WriteFile(dir_ / "Data/Texts.scr", "last line");
    WriteFile(dir_ / "Data/Menu/uidef/Textures.def", "");
  }
  std::string Game() const { return dir_.Folder(); }
  void RegisterAbc() {
    for (Operation operation : kOperations) EXPECT_TRUE(operation(Game(), "ABC", sink_));
  }
  std::string Read(const std::string& relative) const { return ReadFile(dir_ / relative); }

  TempDir dir_;
  RecordingSink sink_;
};

// An unended last line of a shared script gets CR LF first, none after a
// CR or LF; the top-level lines always start with an empty line.
TEST_F(GameScriptRegistration, EachOperationAppendsItsLines) {
  RegisterAbc();
  EXPECT_EQ(Read("Data/Cars/Cars.scr"), "// game cars\r\n" + kCarsAbc);
  EXPECT_EQ(Read("Data/Cars/Parts.scr"), "mac\r" + kPartsAbc);
  EXPECT_EQ(Read("Data/Texts.scr"), "last line" + kTextsTop);
  EXPECT_EQ(Read("Data/Cars/Texts.scr"), kTextsAbc);
  EXPECT_EQ(Read("Data/Menu/uidef/Textures.def"), kIconsTop);
  EXPECT_EQ(Read("Data/Cars/Icons.scr"), kIconsAbc);
}

// One step of progress each, then the shared script it writes to.
TEST_F(GameScriptRegistration, EachOperationReportsItsStep) {
  RegisterAbc();
  EXPECT_EQ(sink_.Calls,
            (Calls{"progress +1", "creating Data\\Cars\\Cars.scr", "progress +1",
                   "creating Data\\Cars\\Parts.scr", "progress +1", "creating Data\\Cars\\Texts.scr",
                   "progress +1", "creating Data\\Cars\\Icons.scr"}));
}

TEST_F(GameScriptRegistration, SecondCarFollowsTheFirstWithoutTopLinesAgain) {
  RegisterAbc();
  EXPECT_TRUE(game::UpdateGVTextsScript(Game(), "ab_1", sink_));
  EXPECT_TRUE(game::UpdateGVIconsScript(Game(), "ab_1", sink_));
  EXPECT_EQ(Read("Data/Texts.scr"), "last line" + kTextsTop);
  EXPECT_EQ(Read("Data/Cars/Texts.scr"), kTextsAbc + "!include(\"ab_1\\\\Texts.scr\")\r\n\r\n");
  EXPECT_EQ(Read("Data/Cars/Icons.scr"), kIconsAbc + "!include(\"ab_1\\\\Icons.scr\")\r\n\r\n");
}

// Only the exact line, anywhere in the file, counts as present.
TEST_F(GameScriptRegistration, TopLevelLineLookedForByItsExactBytes) {
  const struct {
    std::string Texts;
    std::string Textures;
    bool Present;
  } cases[] = {
      {"// old: !include(\"Cars\\\\Texts.scr\") was here\r\n",
       "x!include(\"..\\\\..\\\\Cars\\\\Icons.scr\")y", true},
      {"!INCLUDE(\"CARS\\\\TEXTS.SCR\")\r\n", "!include( \"..\\\\..\\\\Cars\\\\Icons.scr\" )\r\n", false},
  };
  for (const auto& c : cases) {
    WriteFile(dir_ / "Data/Texts.scr", c.Texts);
    WriteFile(dir_ / "Data/Menu/uidef/Textures.def", c.Textures);
    EXPECT_TRUE(game::UpdateGVTextsScript(Game(), "ABC", sink_));
    EXPECT_TRUE(game::UpdateGVIconsScript(Game(), "ABC", sink_));
    EXPECT_EQ(Read("Data/Texts.scr"), c.Present ? c.Texts : c.Texts + kTextsTop) << c.Texts;
    EXPECT_EQ(Read("Data/Menu/uidef/Textures.def"), c.Present ? c.Textures : c.Textures + kIconsTop);
  }
}

// A shared script holding the car's line, whatever ends it, is not
// touched; the same text in a comment or in another letter case is no line.
TEST_F(GameScriptRegistration, SharedLineAddedOnlyWhenNoWholeLineHoldsIt) {
  const struct {
    std::string Cars;
    bool Present;
  } cases[] = {
      {"x\r\n!include(\"ABC\\\\Cars.scr\")\r\n\r\n", true},
      {"!include(\"ABC\\\\Cars.scr\")\ny\n", true},
      {"x\n!include(\"ABC\\\\Cars.scr\")", true},
      {"// !include(\"ABC\\\\Cars.scr\")\r\n", false},
      {"!include(\"ABC\\\\Cars.scr\") \r\n!include(\"abc\\\\Cars.scr\")\r\n", false},
  };
  for (const auto& c : cases) {
    WriteFile(dir_ / "Data/Cars/Cars.scr", c.Cars);
    EXPECT_TRUE(game::UpdateGVCarsScript(Game(), "ABC", sink_));
    EXPECT_EQ(Read("Data/Cars/Cars.scr"), c.Present ? c.Cars : c.Cars + kCarsAbc) << c.Cars;
  }
}

// Without the game's own scripts nothing is created, with or without the
// folders that should hold them; a missing top-level script stops its
// operation before the shared script.
TEST(GameScriptRegistrationMissing, GameScriptsAreNotCreated) {
  for (bool folders : {false, true}) {
    TempDir dir;
    if (folders) fs::create_directories(dir / "Data/Cars");
    if (folders) fs::create_directories(dir / "Data/Menu/uidef");
    RecordingSink sink;
    for (Operation operation : kOperations) EXPECT_FALSE(operation(dir.Folder(), "ABC", sink));
    EXPECT_EQ(sink.Calls,
              (Calls{"failed Data\\Cars\\Cars.scr: missing", "failed Data\\Cars\\Parts.scr: missing",
                     "failed Data\\Texts.scr: missing", "failed Data\\Menu\\uidef\\Textures.def: missing"}));
    EXPECT_EQ(EntriesBelow(dir.Path()), folders ? 4u : 0u);
  }
}

// Game folders copied from a Windows disk keep whatever letter case their
// files had; the existing files must receive the lines, not new ones
// beside, and a missing shared script goes into the existing folder.
TEST(GameScriptRegistrationCase, ExistingFilesFoundInAnyLetterCase) {
  TempDir dir;
  WriteFile(dir / "DATA/cars/CARS.SCR", "c\r\n");
  WriteFile(dir / "DATA/cars/parts.SCR", "p\r\n");
  WriteFile(dir / "DATA/cars/icons.scr", "i\r\n");
  WriteFile(dir / "DATA/TEXTS.SCR", "T\r\n");
  WriteFile(dir / "DATA/MENU/UIDEF/textures.DEF", "D\r\n");
  RecordingSink sink;
  for (Operation operation : kOperations) EXPECT_TRUE(operation(dir.Folder(), "ABC", sink));
  EXPECT_EQ(ReadFile(dir / "DATA/cars/CARS.SCR"), "c\r\n" + kCarsAbc);
  EXPECT_EQ(ReadFile(dir / "DATA/cars/parts.SCR"), "p\r\n" + kPartsAbc);
  EXPECT_EQ(ReadFile(dir / "DATA/cars/Texts.scr"), kTextsAbc);
  EXPECT_EQ(ReadFile(dir / "DATA/cars/icons.scr"), "i\r\n" + kIconsAbc);
  EXPECT_EQ(ReadFile(dir / "DATA/TEXTS.SCR"), "T\r\n" + kTextsTop);
  EXPECT_EQ(ReadFile(dir / "DATA/MENU/UIDEF/textures.DEF"), "D\r\n" + kIconsTop);
  EXPECT_EQ(EntriesBelow(dir.Path()), 10u);  // 4 folders, 6 files
}

#ifndef _WIN32
// Read-only game scripts. The operations run as an ordinary user (see
// RunUnprivileged), since root could append to any file.
class GameScriptRegistrationReadOnly : public GameScriptRegistration {
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

  // Every game script holds car ABC's line after its own.
  void ExpectRegistered() const {
    EXPECT_EQ(Read("Data/Cars/Cars.scr"), "c\r\n!include(\"ABC\\\\Cars.scr\")\r\n\r\n");
    EXPECT_EQ(Read("Data/Cars/Parts.scr"), "p\r\n!include(\"ABC\\\\Parts.scr\")\r\n\r\n");
    EXPECT_EQ(Read("Data/Texts.scr"), "t\r\n" + kTextsTop);
    EXPECT_EQ(Read("Data/Menu/uidef/Textures.def"), "d\r\n" + kIconsTop);
  }
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
  for (const auto& entry : fs::recursive_directory_iterator(dir_.Path()))
    fs::permissions(entry.path(), fs::perms(entry.is_directory() ? 0777 : 0666));
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
#endif

}  // namespace
