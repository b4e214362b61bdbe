#include "game/car_removal.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "common/temp_dir.h"
#include "game/install_record.h"
#include "support/platform.h"
#ifndef _WIN32
#include "common/unprivileged_posix.h"
#endif

namespace fs = std::filesystem;
using namespace testing_support;
using Names = std::vector<std::string>;

namespace {

// A car folder as the package left it, in other letter cases than its
// entries, with a player's own file and an empty folder.
class GameCarFiles : public testing::Test {
 protected:
  void SetUp() override {
    WriteFile(dir_ / "ABC/Cars.scr", "c");
    WriteFile(dir_ / "ABC/TEX/Body.dds", "b");
    WriteFile(dir_ / "ABC/Sounds/ZAP.wav", "z");
    WriteFile(dir_ / "ABC/Sounds/mine.wav", "m");
    fs::create_directories(dir_ / "ABC/Empty");
  }
  // Finds, then removes; false when finding failed.
  bool Remove(const Names& entries) {
    if (!game::FindCarFiles(Folder(), "Data\\Cars\\ABC\\", entries, files_, faults_)) return false;
    game::RemoveCarFiles(Folder(), "Data\\Cars\\ABC\\", files_, faults_);
    return true;
  }
  std::string Folder() const { return dir_.Folder() + "ABC/"; }
  // The record of an install that wrote the names given, as they are now.
  void Record(const Names& names) {
    game::InstallRecord record{"ABC", "1", "p", {}};
    for (const std::string& name : names) {
      record.Files.push_back({name});
      ASSERT_TRUE(game::StampFile(Folder() + name, record.Files.back())) << name;
    }
    ASSERT_FALSE(game::WriteRecord(Folder(), record));
  }

  const Names package_ = {"Cars.scr", "Tex\\body.dds", "Sounds\\zap.wav", "Gone.scr"};
  TempDir dir_;
  game::CarFiles files_;
  std::vector<game::FileFault> faults_;
};

TEST_F(GameCarFiles, WithoutARecordThePackagesFilesGoInAnyLetterCase) {
  ASSERT_TRUE(Remove(package_));
  EXPECT_TRUE(faults_.empty());
  EXPECT_FALSE(fs::exists(dir_ / "ABC/Cars.scr"));
  EXPECT_FALSE(fs::exists(dir_ / "ABC/TEX/Body.dds"));
  EXPECT_FALSE(fs::exists(dir_ / "ABC/Sounds/ZAP.wav"));
  EXPECT_EQ(files_.Foreign, (Names{"Sounds\\mine.wav"}));
  EXPECT_EQ(ReadFile(dir_ / "ABC/Sounds/mine.wav"), "m");
}

// Deepest first, up to the car's own folder once its last file went.
TEST_F(GameCarFiles, FoldersLeftEmptyGo) {
  ASSERT_TRUE(Remove(package_));
  EXPECT_FALSE(fs::exists(dir_ / "ABC/TEX"));
  EXPECT_FALSE(fs::exists(dir_ / "ABC/Empty"));
  EXPECT_TRUE(fs::exists(dir_ / "ABC/Sounds"));
  ASSERT_TRUE(Remove({"Sounds\\mine.wav"}));
  EXPECT_FALSE(fs::exists(dir_ / "ABC"));
}

// The record names what the install wrote: a file changed since stays, as
// does one the record does not name, whatever the package holds; the
// record itself goes last.
TEST_F(GameCarFiles, WithARecordOnlyUnchangedRecordedFilesGo) {
  Record({"Cars.scr", "TEX\\Body.dds"});
  WriteFile(dir_ / "ABC/TEX/Body.dds", "changed");
  ASSERT_TRUE(Remove(package_));
  EXPECT_TRUE(faults_.empty());
  EXPECT_TRUE(files_.Recorded);
  EXPECT_FALSE(fs::exists(dir_ / "ABC/Cars.scr"));
  EXPECT_EQ(files_.Changed, (Names{"TEX\\Body.dds"}));
  EXPECT_EQ(ReadFile(dir_ / "ABC/Sounds/ZAP.wav"), "z");
  EXPECT_FALSE(fs::exists(dir_ / "ABC" / game::kRecordName));
}

#ifdef _WIN32
// The game holding a file of the car is something the player can act on.
TEST_F(GameCarFiles, HeldFileIsInUse) {
  platform::File held;
  ASSERT_TRUE(held.Open(Folder() + "Cars.scr", platform::OpenMode::ReadLocked));
  ASSERT_TRUE(Remove(package_));
  ASSERT_EQ(faults_.size(), 1u);
  EXPECT_EQ(faults_[0].ShownName, "Data\\Cars\\ABC\\Cars.scr");
  EXPECT_EQ(faults_[0].Fault, game::ScriptFault::InUse);
}
#else
// Where names differ by letter case, the player's file beside the car's is
// another file, with a record or without.
TEST_F(GameCarFiles, AnotherFileInAnotherLetterCaseStays) {
  for (bool recorded : {false, true}) {
    SCOPED_TRACE(recorded);
    WriteFile(dir_ / "ABC/TEX/body.dds", "car");
    if (recorded) Record({"TEX\\body.dds"});
    ASSERT_TRUE(Remove({"TEX\\body.dds"}));
    EXPECT_FALSE(fs::exists(dir_ / "ABC/TEX/body.dds"));
    EXPECT_EQ(ReadFile(dir_ / "ABC/TEX/Body.dds"), "b");
  }
}

// What a link leads to is not the car's, even under a name of the package
// or of the record.
TEST_F(GameCarFiles, LinksAreNotFollowed) {
  WriteFile(dir_ / "elsewhere/Body.dds", "b");
  Record({"TEX\\Body.dds", "Cars.scr"});
  fs::remove_all(dir_ / "ABC/TEX");
  fs::create_directory_symlink(dir_ / "elsewhere", dir_ / "ABC/TEX");
  fs::remove(dir_ / "ABC/Cars.scr");
  fs::create_symlink(dir_ / "elsewhere/Body.dds", dir_ / "ABC/Cars.scr");
  ASSERT_TRUE(Remove(package_));
  EXPECT_EQ(ReadFile(dir_ / "elsewhere/Body.dds"), "b");
  EXPECT_NE(std::find(files_.Foreign.begin(), files_.Foreign.end(), "TEX"), files_.Foreign.end());
  EXPECT_EQ(files_.Changed, (Names{"Cars.scr"}));
}

// Whatever cannot be read stops the removal before it deletes anything;
// a file that cannot be deleted keeps the record for the next run.
TEST_F(GameCarFiles, WhatCannotBeReadOrDeletedIsAFault) {
  Record({"Cars.scr", "TEX\\Body.dds"});
  const std::string folder = Folder();
  auto run = [&](const std::string& locked, fs::perms perms) {
    fs::permissions(dir_ / locked, perms);
    std::optional<std::string> shown = RunUnprivileged(dir_.Path(), [&] {
      game::CarFiles files;
      std::vector<game::FileFault> faults;
      if (game::FindCarFiles(folder, "", package_, files, faults))
        game::RemoveCarFiles(folder, "", files, faults);
      return faults.empty() ? "" : faults[0].ShownName + " " + std::to_string(int(faults[0].Fault));
    });
    fs::permissions(dir_ / locked, fs::perms(0755));
    return shown;
  };
  EXPECT_EQ(run("ABC/TEX", fs::perms(0300)), "TEX\\ " + std::to_string(int(game::ScriptFault::CannotList)));
  EXPECT_EQ(run("ABC/" + std::string(game::kRecordName), fs::perms(0200)),
            std::string(game::kRecordName) + " " + std::to_string(int(game::ScriptFault::CannotRead)));
  EXPECT_TRUE(fs::exists(dir_ / "ABC/Cars.scr"));
  EXPECT_EQ(run("ABC/TEX", fs::perms(0555)),
            "TEX\\Body.dds " + std::to_string(int(game::ScriptFault::CannotDelete)));
  EXPECT_TRUE(fs::exists(dir_ / "ABC" / game::kRecordName));
}
#endif

}  // namespace
