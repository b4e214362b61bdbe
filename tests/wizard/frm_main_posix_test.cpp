// A game folder the player may not write: found at the first step, before
// anything is written. A read-only mount stands in for the rights a root
// user cannot lack.
#include <gtest/gtest.h>
#include <sys/mount.h>

#include <filesystem>
#include <memory>

#include "common/temp_dir.h"
#include "wizard/frm_main.h"
#include "wizard/string_table.h"
#include "wizard/wizard_fixture.h"

namespace fs = std::filesystem;
using wizard::MsgResult;

namespace {

class WizardGameFolderRights : public ::testing::Test {
 protected:
  void SetUp() override {
    wizard::SetLanguageForTesting(wizard::Language::English);
    game = dir.Path() / "Gravelon";
    wizard_testing::MakeGameFolder(game);
    cars = game / "Data/Cars";
    wizard_testing::MakeInstaller(dir.Path() / "installer.bin", "DMO", wizard_testing::SampleCar("DMO"));
    registry.GameFolder = game.string() + "/";
    mounted = mount("tmpfs", cars.c_str(), "tmpfs", MS_RDONLY, "size=16k") == 0;
  }
  void TearDown() override {
    if (mounted) umount(cars.c_str());
    wizard::SetLanguageForTesting(std::nullopt);
  }

  wizard::frmMain& StartAndNext() {
    form = std::make_unique<wizard::frmMain>(shell, registry);
    form->ProgramPath = (dir.Path() / "installer.bin").string();
    form->Form_Load();
    form->cmdNav_Click(wizard::kNavNext);
    return *form;
  }

  testing_support::TempDir dir;
  fs::path game;
  fs::path cars;
  bool mounted = false;
  wizard_testing::ScriptedShell shell;
  wizard_testing::OneValueRegistry registry;
  std::unique_ptr<wizard::frmMain> form;
};

TEST_F(WizardGameFolderRights, OfferedAStartAsAdministratorWhereTheSystemCanGiveIt) {
  if (!mounted) GTEST_SKIP() << "cannot mount a tmpfs";
  shell.MayElevate = true;
  shell.Answers = {MsgResult::No, MsgResult::Yes, MsgResult::Yes};
  // No: the wizard stays where it is.
  StartAndNext();
  EXPECT_EQ(form->Step, wizard::kStepGameFolder);
  ASSERT_EQ(shell.Messages.size(), 1u);
  EXPECT_EQ(shell.Messages[0].Text, wizard::LoadResString(126));
  EXPECT_EQ(shell.Messages[0].Buttons, wizard::MsgButtons::YesNo);
  EXPECT_TRUE(shell.ElevatedRestarts.empty());
  // Yes: the program starts again on the same folder and this one ends.
  form->cmdNav_Click(wizard::kNavNext);
  EXPECT_EQ(shell.ElevatedRestarts, std::vector<std::string>{game.string() + "/"});
  EXPECT_EQ(shell.EndCount, 1);
  // Yes, but the player declines the system's question: nothing ends.
  shell.RestartStarts = false;
  form->cmdNav_Click(wizard::kNavNext);
  EXPECT_EQ(shell.EndCount, 1);
  EXPECT_EQ(form->Step, wizard::kStepGameFolder);
  EXPECT_EQ(form->LastOutcome, wizard::Outcome::FolderNotWritable);
}

TEST_F(WizardGameFolderRights, ReportedWhereNothingCanBeDoneAndPassedOnceWritable) {
  if (!mounted) GTEST_SKIP() << "cannot mount a tmpfs";
  StartAndNext();
  EXPECT_EQ(form->Step, wizard::kStepGameFolder);
  EXPECT_EQ(form->LastOutcome, wizard::Outcome::FolderNotWritable);
  ASSERT_EQ(shell.Messages.size(), 1u);
  EXPECT_EQ(shell.Messages[0].Text, wizard::LoadResString(wizard::kResNotWritable));
  EXPECT_EQ(shell.Messages[0].Icon, wizard::MsgIcon::Critical);
  EXPECT_TRUE(shell.ElevatedRestarts.empty());
  // Writable again: on to the next step, and the probe is gone.
  ASSERT_EQ(umount(cars.c_str()), 0);
  mounted = false;
  form->cmdNav_Click(wizard::kNavNext);
  EXPECT_EQ(form->Step, wizard::kStepReady);
  EXPECT_FALSE(fs::exists(cars / "rigbox-probe.tmp"));
}

}  // namespace
