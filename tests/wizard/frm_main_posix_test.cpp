// A game folder the player may not write: found at the first step, before
// anything is written. A read-only mount stands in for the rights a root
// user cannot lack.
#include <gtest/gtest.h>
#include <sys/mount.h>

#include <filesystem>

#include "common/temp_dir.h"
#include "wizard/frm_main.h"
#include "wizard/string_table.h"
#include "wizard/wizard_fixture.h"

namespace {

using wizard::MsgResult;

TEST(WizardGameFolderRights, OfferedAStartAsAdministratorOrReportedUntilWritable) {
  wizard::SetLanguageForTesting(wizard::Language::English);
  testing_support::TempDir dir;
  std::filesystem::path game = dir.Path() / "Gravelon", cars = game / "Data/Cars";
  wizard_testing::MakeGameFolder(game);
  wizard_testing::MakeInstaller(dir.Path() / "installer.bin", "DMO", wizard_testing::SampleCar("DMO"));
  testing_support::MapRegistry registry;
  registry.SetGameFolder(game.string() + "/");
  if (mount("tmpfs", cars.c_str(), "tmpfs", MS_RDONLY, "size=16k") != 0)
    GTEST_SKIP() << "cannot mount a tmpfs";
  wizard_testing::ScriptedShell shell;
  wizard::frmMain form(shell, registry);
  form.ProgramPath = (dir.Path() / "installer.bin").string();
  form.Form_Load();
  // Where the system can lift it: No stays, Yes starts again on the same
  // folder and ends this program, unless the player declines the system's
  // own question.
  shell.MayElevate = true;
  shell.Answers = {MsgResult::No, MsgResult::Yes, MsgResult::Yes};
  for (bool starts : {true, true, false}) {
    shell.RestartStarts = starts;
    form.cmdNav_Click(wizard::kNavNext);
  }
  EXPECT_EQ(shell.Messages.back().Id, wizard::kResAskElevation);
  EXPECT_EQ(shell.ElevatedRestarts, std::vector<std::string>(2, game.string() + "/"));
  EXPECT_EQ(shell.EndCount, 1);
  // Where it cannot: said, as an error.
  shell.MayElevate = false;
  form.cmdNav_Click(wizard::kNavNext);
  EXPECT_EQ(shell.Messages.back().Text, wizard::LoadResString(wizard::kResNotWritable));
  EXPECT_EQ(form.Step, wizard::kStepGameFolder);
  // Writable again: on to the next step, and the probe is gone.
  umount(cars.c_str());
  form.cmdNav_Click(wizard::kNavNext);
  EXPECT_EQ(form.Step, wizard::kStepReady);
  EXPECT_FALSE(std::filesystem::exists(cars / "rigbox-probe.tmp"));
  wizard::SetLanguageForTesting(std::nullopt);
}

}  // namespace
