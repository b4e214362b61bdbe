#include "game/car_removal.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "common/temp_dir.h"
#ifndef _WIN32
#include "common/unprivileged_posix.h"
#endif

namespace fs = std::filesystem;
using namespace testing_support;
using Names = std::vector<std::string>;

namespace {

const std::string kLine = "!include(\"ABC\\\\Cars.scr\")";

// The line goes with the one empty line after it, whatever ends them; a
// comment copy, a line in another case and the empty lines of others stay.
TEST(GameCarRemoval, TakesOutWholeLinesWithTheirEmptyLine) {
  const struct {
    std::string Before;
    std::string After;
  } cases[] = {
      {"a\r\n" + kLine + "\r\n\r\nb\r\n", "a\r\nb\r\n"},
      {kLine + "\n\n\n" + kLine + "\r\n", "\n"},
      {"a\r\n\r\n" + kLine, "a\r\n\r\n"},
      {"// " + kLine + "\r\n" + kLine + " \r\n\r\n", "// " + kLine + "\r\n" + kLine + " \r\n\r\n"},
      {kLine + "\r\nx\r\n\r\n", "x\r\n\r\n"},
  };
  for (const auto& c : cases) EXPECT_EQ(game::WithoutLine(c.Before, kLine), c.After) << c.Before;
}

// Each rewrite goes through a file beside the script, so that it ends in a
// rename on one disk: a folder in that file's place keeps the line.
TEST(GameCarLines, RewriteGoesThroughAFileBesideTheScript) {
  TempDir dir;
  WriteFile(dir / "Data/Cars/Cars.scr", kLine + "\r\n\r\n");
  fs::create_directories(dir / "Data/Cars/rigbox-remove.tmp");
  std::vector<game::FileFault> faults;
  Names copies;
  game::RemoveCarLines(dir.Folder(), "ABC", faults, copies);
  ASSERT_EQ(faults.size(), 1u);
  EXPECT_EQ(faults[0].ShownName, "Data\\Cars\\Cars.scr");
  EXPECT_EQ(ReadFile(dir / "Data/Cars/Cars.scr"), kLine + "\r\n\r\n");
}

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
  void Remove(const Names& entries) {
    game::RemoveCarFiles(dir_.Folder() + "ABC/", "Data\\Cars\\ABC\\", entries, kept_, faults_);
  }

  const Names package_ = {"Cars.scr", "Tex\\body.dds", "Sounds\\zap.wav", "Gone.scr"};
  TempDir dir_;
  Names kept_;
  std::vector<game::FileFault> faults_;
};

TEST_F(GameCarFiles, PackagesFilesGoInAnyLetterCase) {
  Remove(package_);
  EXPECT_TRUE(faults_.empty());
  EXPECT_FALSE(fs::exists(dir_ / "ABC/Cars.scr"));
  EXPECT_FALSE(fs::exists(dir_ / "ABC/TEX/Body.dds"));
  EXPECT_FALSE(fs::exists(dir_ / "ABC/Sounds/ZAP.wav"));
}

TEST_F(GameCarFiles, PlayersOwnFilesStayAndAreNamed) {
  Remove(package_);
  EXPECT_EQ(kept_, (Names{"Data\\Cars\\ABC\\Sounds\\mine.wav"}));
  EXPECT_EQ(ReadFile(dir_ / "ABC/Sounds/mine.wav"), "m");
}

// Deepest first, up to the car's own folder once its last file went.
TEST_F(GameCarFiles, FoldersLeftEmptyGo) {
  Remove(package_);
  EXPECT_FALSE(fs::exists(dir_ / "ABC/TEX"));
  EXPECT_FALSE(fs::exists(dir_ / "ABC/Empty"));
  EXPECT_TRUE(fs::exists(dir_ / "ABC/Sounds"));
  Remove({"Sounds\\mine.wav"});
  EXPECT_FALSE(fs::exists(dir_ / "ABC"));
}

#ifndef _WIN32
// What a link leads to is not the car's, even under a name of the package.
TEST_F(GameCarFiles, LinksAreNotFollowed) {
  WriteFile(dir_ / "elsewhere/Body.dds", "b");
  fs::remove_all(dir_ / "ABC/TEX");
  fs::create_directory_symlink(dir_ / "elsewhere", dir_ / "ABC/Tex");
  Remove(package_);
  EXPECT_EQ(ReadFile(dir_ / "elsewhere/Body.dds"), "b");
  EXPECT_NE(std::find(kept_.begin(), kept_.end(), "Data\\Cars\\ABC\\Tex"), kept_.end());
}

// A read-only file in a folder that keeps it stays a fault, though its mark
// could be cleared.
TEST_F(GameCarFiles, FileTheFolderKeepsIsAFault) {
  fs::permissions(dir_ / "ABC/TEX/Body.dds", fs::perms(0444));
  fs::permissions(dir_ / "ABC/TEX", fs::perms(0555));
  const std::string folder = dir_.Folder() + "ABC/";
  std::optional<std::string> faults = RunUnprivileged(dir_.Path(), [&] {
    std::string shown;
    game::RemoveCarFiles(folder, "", {"Tex\\Body.dds"}, kept_, faults_);
    for (const game::FileFault& fault : faults_) shown += fault.ShownName + " ";
    return shown;
  });
  EXPECT_EQ(faults, "TEX\\Body.dds ");
}
#endif

}  // namespace
