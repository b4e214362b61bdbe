#include "game/car_removal.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "common/temp_dir.h"

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

// The package's files go, matched in any letter case, then the folders
// they leave empty; the player's own files stay and are named.
TEST(GameCarRemoval, DeletesThePackagesFilesAndKeepsOthers) {
  TempDir dir;
  WriteFile(dir / "ABC/Cars.scr", "c");
  WriteFile(dir / "ABC/TEX/Body.dds", "b");
  WriteFile(dir / "ABC/Sounds/Engine.wav", "e");
  WriteFile(dir / "ABC/Sounds/mine.wav", "m");
  fs::create_directories(dir / "ABC/Empty");
  Names kept;
  std::vector<game::FileFault> faults;
  game::RemoveCarFiles(dir.Folder() + "ABC/", "Data\\Cars\\ABC\\",
                       {"Cars.scr", "Tex\\body.dds", "Sounds\\Engine.wav", "Gone.scr"}, kept, faults);
  EXPECT_TRUE(faults.empty());
  EXPECT_EQ(kept, (Names{"Data\\Cars\\ABC\\Sounds\\mine.wav"}));
  EXPECT_FALSE(fs::exists(dir / "ABC/TEX"));
  EXPECT_FALSE(fs::exists(dir / "ABC/Empty"));
  EXPECT_FALSE(fs::exists(dir / "ABC/Cars.scr"));
  EXPECT_EQ(ReadFile(dir / "ABC/Sounds/mine.wav"), "m");
  game::RemoveCarFiles(dir.Folder() + "ABC/", "", {"Sounds\\mine.wav"}, kept, faults);
  EXPECT_FALSE(fs::exists(dir / "ABC"));
}

#ifndef _WIN32
// What a link leads to is not the car's, even under a name of the package.
TEST(GameCarRemoval, LinksAreNotFollowed) {
  TempDir dir;
  WriteFile(dir / "elsewhere/Body.dds", "b");
  WriteFile(dir / "ABC/Cars.scr", "c");
  fs::create_directory_symlink(dir / "elsewhere", dir / "ABC/Tex");
  Names kept;
  std::vector<game::FileFault> faults;
  game::RemoveCarFiles(dir.Folder() + "ABC/", "", {"Cars.scr", "Tex\\Body.dds"}, kept, faults);
  EXPECT_EQ(ReadFile(dir / "elsewhere/Body.dds"), "b");
  EXPECT_EQ(kept, (Names{"Tex"}));
  EXPECT_FALSE(fs::exists(dir / "ABC/Cars.scr"));
}
#endif

}  // namespace
