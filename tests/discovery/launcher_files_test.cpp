#include <gtest/gtest.h>

#include "common/temp_dir.h"
#include "discovery/launcher_files.h"

namespace {

using namespace discovery;
using namespace testing_support;

// Both formats Steam has written, paths of either system.
TEST(DiscoverySteamLibraries, FoldersOfTheLibraryFile) {
  const char vdf[] =
      "\"libraryfolders\"\n{\n\t\"0\"\n\t{\n\t\t\"path\"\t\t\"/home/u/.local/share/"
      "Steam\"\n\t\t\"label\"\t\t\"\"\n"
      "\t\t\"apps\"\n\t\t{\n\t\t\t\"228980\"\t\t\"123\"\n\t\t}\n\t}\n"
      "\t\"1\"\n\t{\n\t\t\"PATH\"\t\t\"D:\\\\Steam \\\"Library\\\"\"\n\t}\n}\n";
  EXPECT_EQ(SteamLibraryPaths(vdf),
            (std::vector<std::string>{"/home/u/.local/share/Steam", "D:\\Steam \"Library\""}));
  const char oldVdf[] =
      "\"LibraryFolders\"\n{\n\t\"TimeNextStatsReport\"\t\t\"1600000000\"\n\t\"ContentStatsID\"\t\t\"-42\"\n"
      "\t\"1\"\t\t\"/mnt/old\"\n\t\"2\"\t\t\"E:\\\\Games\"\n\t\"3\"\t\t\"12\"\n}\n";
  EXPECT_EQ(SteamLibraryPaths(oldVdf), (std::vector<std::string>{"/mnt/old", "E:\\Games"}));
  EXPECT_TRUE(SteamLibraryPaths("\"path\"").empty());
}

// Current Steam writes config/libraryfolders.vdf and may leave the other stale.
TEST(DiscoverySteamLibraries, BothLibraryFilesOfASteamFolder) {
  TempDir temp;
  WriteFile(temp / "steamapps/libraryfolders.vdf", "\"LibraryFolders\"\n{\n\t\"1\"\t\t\"/mnt/stale\"\n}\n");
  WriteFile(temp / "config/libraryfolders.vdf",
            "\"libraryfolders\"\n{\n\t\"1\"\n\t{\n\t\t\"path\"\t\"/mnt/new\"\n\t}\n}\n");
  EXPECT_EQ(ListedSteamLibraries(temp.Path().string()), (std::vector<std::string>{"/mnt/stale", "/mnt/new"}));
}

TEST(DiscoveryLauncherFiles, OnlySmallRegularFilesAreRead) {
  TempDir temp;
  WriteFile(temp / "small.vdf", "\"1\" \"/x\"");
  WriteFile(temp / "big.vdf", std::string(kMaxLauncherFileBytes + 1, ' '));
  EXPECT_EQ(ReadLauncherFile((temp / "small.vdf").string()), "\"1\" \"/x\"");
  EXPECT_EQ(ReadLauncherFile((temp / "big.vdf").string()), "");
  EXPECT_EQ(ReadLauncherFile(temp.Path().string()), "");
  EXPECT_EQ(ReadLauncherFile((temp / "missing.vdf").string()), "");
}

}  // namespace
