#include "game/install_record.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "common/temp_dir.h"

namespace fs = std::filesystem;
using namespace testing_support;
using Names = std::vector<std::string>;

namespace {

Names NamesOf(const game::InstallRecord& record) {
  Names names;
  for (const game::RecordedFile& file : record.Files) names.push_back((file.Pending ? "?" : "") + file.Name);
  return names;
}

// What the removal needs is read back as it was written; keys of later versions are
// skipped; anything cut off or garbled is no record, so nothing is deleted
// on its word.
TEST(GameInstallRecord, ReadsBackWhatItWritesAndNothingElse) {
  game::InstallRecord record{"A_1", "0.96.0.0", "0123456789ABCDEF", {}};
  record.Files = {{"Tex\\my body.dds", 18446744073709551615u / 2, 18446744073709551615u, false},
                  {"Cars.scr", 0, 0, true}};
  std::string text = game::RecordText(record);
  game::InstallRecord read;
  ASSERT_TRUE(game::ParseRecord(text, read));
  EXPECT_EQ(read.CarId, "A_1");
  EXPECT_EQ(NamesOf(read), (Names{"Tex\\my body.dds", "?Cars.scr"}));
  EXPECT_EQ(read.Files[0].Size, record.Files[0].Size);
  EXPECT_EQ(read.Files[0].Modified, record.Files[0].Modified);
  EXPECT_TRUE(game::ParseRecord(text + "name=Rally car\n", read));
  // A car's name from another maker's installer cannot add a file line.
  record.Name = "Car\nfile=1 2 ..\\x";
  std::string named = game::RecordText(record);
  EXPECT_NE(named.find("\nname=Car file=1 2 ..\\x\n"), std::string::npos) << named;
  ASSERT_TRUE(game::ParseRecord(named, read));
  EXPECT_EQ(NamesOf(read), (Names{"Tex\\my body.dds", "?Cars.scr"}));
  size_t fileLine = text.find("file=");
  for (const std::string& broken :
       {text.substr(0, text.size() - 1), "x" + text, text.substr(text.find('\n') + 1), text + "no key\n",
        text.substr(0, fileLine) + "file=1 2\n", text.substr(0, fileLine) + "file=1 -2 x\n",
        text.substr(0, fileLine) + "file=1 18446744073709551616 x\n", text.substr(0, fileLine) + "pending=\n",
        std::string("RIGBOX install record 1\nprogram=1\n")}) {
    EXPECT_FALSE(game::ParseRecord(broken, read)) << broken;
  }
}

// v1 of a car is installed and recorded; v2 drops two of its files, one
// of which the player changed meanwhile.
class GameUpdate : public testing::Test {
 protected:
  void SetUp() override {
    folder_ = dir_.Folder() + "ABC/";
    for (const char* name : {"Cars.scr", "Old/gone.dds", "Old/kept.dds", "Older/deep/x"})
      WriteFile(dir_ / "ABC" / name, "v1");
    game::InstallRecord v1{
        "ABC", "1", "p", {{"Cars.scr"}, {"Old\\gone.dds"}, {"Old\\kept.dds"}, {"Older\\deep\\x"}}};
    for (game::RecordedFile& file : v1.Files) ASSERT_TRUE(game::StampFile(folder_ + file.Name, file));
    ASSERT_FALSE(game::WriteRecord(folder_, v1));
    WriteFile(dir_ / "ABC/Old/kept.dds", "the player's");
  }
  game::InstallRecord Recorded() {
    game::InstallRecord record;
    EXPECT_EQ(game::ReadRecord(folder_, record), game::RecordState::Read);
    return record;
  }

  TempDir dir_;
  std::string folder_;
};

// Cut off while v2's files are written, the record still names v1's and
// v2's, so a removal then takes every one of them.
TEST_F(GameUpdate, RecordCoversOldAndNewWhileTheFilesAreWritten) {
  game::RecordedInstall install(folder_, "", "ABC");
  ASSERT_FALSE(install.Begin("2", "q", {"Cars.scr", "New\\new.dds"}));
  EXPECT_EQ(NamesOf(Recorded()),
            (Names{"?Cars.scr", "?New\\new.dds", "Old\\gone.dds", "Old\\kept.dds", "Older\\deep\\x"}));
}

TEST_F(GameUpdate, OldFilesNobodyChangedGoWithTheirFolders) {
  game::RecordedInstall install(folder_, "", "ABC");
  ASSERT_FALSE(install.Begin("2", "q", {"Cars.scr", "New\\new.dds", "Gone\\x"}));
  WriteFile(dir_ / "ABC/Cars.scr", "v2");
  WriteFile(dir_ / "ABC/New/new.dds", "v2");
  EXPECT_EQ(install.Finish()->ShownName, "Gone\\x");  // not written: no success
  WriteFile(dir_ / "ABC/Gone/x", "v2");
  ASSERT_FALSE(install.Finish());
  EXPECT_FALSE(fs::exists(dir_ / "ABC/Old/gone.dds"));
  EXPECT_FALSE(fs::exists(dir_ / "ABC/Older"));
  EXPECT_EQ(ReadFile(dir_ / "ABC/Old/kept.dds"), "the player's");
  game::InstallRecord record = Recorded();
  EXPECT_EQ(NamesOf(record), (Names{"Cars.scr", "New\\new.dds", "Gone\\x"}));
  EXPECT_TRUE(game::IsUnchanged(folder_ + "New/new.dds", record.Files[1]));
}

// Another car's record says nothing of this car's files.
TEST_F(GameUpdate, AnotherCarsRecordIsNoEarlierVersion) {
  game::RecordedInstall install(folder_, "", "XYZ");
  ASSERT_FALSE(install.Begin("2", "q", {"Cars.scr"}));
  EXPECT_EQ(NamesOf(Recorded()), (Names{"?Cars.scr"}));
}

#ifndef _WIN32
// Written over a file in another letter case, the car's file keeps that
// name on disk, and the record says so.
TEST_F(GameUpdate, RecordsTheNameOnDisk) {
  game::RecordedInstall install(folder_, "", "ABC");
  ASSERT_FALSE(install.Begin("2", "q", {"cars.SCR", "old\\GONE.dds"}));
  EXPECT_EQ(NamesOf(Recorded()), (Names{"?Cars.scr", "?Old\\gone.dds", "Old\\kept.dds", "Older\\deep\\x"}));
}
#endif

}  // namespace
