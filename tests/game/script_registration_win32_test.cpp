// A game script the running game holds: the registration says so, in words
// the player can act on, once the file has been waited for.
#include <gtest/gtest.h>

#include "common/temp_dir.h"
#include "game/recording_sink.h"
#include "support/wide_text.h"
#include "support/windows_include.h"

namespace {

TEST(GameScriptRegistrationWin32, ScriptHeldByTheGameIsInUse) {
  testing_support::TempDir dir;
  testing_support::WriteFile(dir / "Data/Cars/Cars.scr", "\r\n");
  HANDLE held = CreateFileW(support::Widen(dir.Folder() + "Data\\Cars\\Cars.scr").c_str(), GENERIC_READ, 0,
                            nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  testing_support::RecordingSink sink;
  EXPECT_FALSE(game::UpdateGVCarsScript(dir.Folder(), "ABC", sink));
  CloseHandle(held);
  EXPECT_EQ(sink.Calls, std::vector<std::string>{"failed Data\\Cars\\Cars.scr: in use"});
}

}  // namespace
