#include "wizard/uninstall_entry.h"

#include <gtest/gtest.h>

#include "common/map_registry.h"
#include "common/temp_dir.h"

using wizard::UninstallKeyName;

// A second install of the car into that game, however the folder is
// spelled, replaces the entry; another game or car gets its own.
TEST(WizardUninstallEntry, OneKeyPerGameFolderAndCar) {
  std::string key = UninstallKeyName("C:\\Games\\Gravelon\\", "ABC");
  EXPECT_EQ(key.substr(0, 14), "RigboxCar_ABC_");
  EXPECT_EQ(key.size(), 22u);
  EXPECT_EQ(UninstallKeyName("c:\\games\\GRAVELON", "ABC"), key);
  EXPECT_NE(UninstallKeyName("C:\\Games\\Gravelon2\\", "ABC"), key);
  EXPECT_EQ(UninstallKeyName("C:\\Games\\Gravelon\\", "ABD"), "RigboxCar_ABD_" + key.substr(14));
}

// A last backslash inside quotes is doubled, or it would escape the quote.
TEST(WizardUninstallEntry, CommandAndNameAsThePlayerSeesThem) {
  EXPECT_EQ(wizard::UninstallCommand("C:\\P\\u.exe", "D:\\My Games\\G\\", "ABC"),
            "\"C:\\P\\u.exe\" --remove --car ABC --game-dir \"D:\\My Games\\G\\\\\"");
  EXPECT_EQ(wizard::UninstallCommand("u.exe", "D:\\G", "X_1"),
            "\"u.exe\" --remove --car X_1 --game-dir \"D:\\G\"");
  // The elevated run gets the same arguments.
  EXPECT_EQ(wizard::ArgumentsOf(wizard::UninstallCommand("C:\\P F\\u.exe", "D:\\G", "A")),
            "--remove --car A --game-dir \"D:\\G\"");
  // A tab ends the name too; a name alone, or never closed, leaves nothing.
  EXPECT_EQ(
      wizard::ArgumentsOf("u.exe\t-a") + wizard::ArgumentsOf("\"C:\\u v.exe") + wizard::ArgumentsOf("u.exe "),
      "-a");
  EXPECT_EQ(wizard::CarShownName("Rally Coupe", "ABC"), "Rally Coupe (ABC)");
  EXPECT_EQ(wizard::CarShownName("", "ABC"), "ABC");
}

// The file version of the fixed part of a version resource, 1.96.3.2 here.
TEST(WizardUninstallEntry, ProgramVersionFromTheVersionResource) {
  std::string program = std::string("MZ\xBD\x04\xEF\xFE\0\0\1\0", 10) + std::string("\x60\0\1\0\2\0\3\0", 8);
  EXPECT_EQ(wizard::ProgramVersion(program), 0x0001006000030002u);
  EXPECT_EQ(wizard::ProgramVersion(program.substr(0, program.size() - 1)), 0u);  // cut short
  EXPECT_EQ(wizard::ProgramVersion("MZ no resource"), 0u);
}

// The machine's entry: an install that ran elevated.
TEST(WizardUninstallEntry, RemovalNeedsRights) {
  testing_support::TempDir dir;
  testing_support::MapRegistry registry;
  const std::string game = dir.Folder();
  EXPECT_FALSE(wizard::RemovalNeedsRights(game, "ABC", registry));  // the user's entry, or none
  registry.Keys["HKLM32\\" + std::string(wizard::kUninstallKeys) + UninstallKeyName(game, "ABC")]["x"] = "1";
  EXPECT_TRUE(wizard::RemovalNeedsRights(game, "ABC", registry));
}
