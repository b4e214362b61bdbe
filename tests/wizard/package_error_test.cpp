#include <gtest/gtest.h>

#include "package/rigbox.h"
#include "wizard/frm_main.h"
#include "wizard/string_table.h"

namespace {

// A package held by another program is the one reason the player can act
// on, so it is said in the player's language after the file's context.
TEST(WizardPackageError, FileInUseIsToldInThePlayersLanguage) {
  modRIGBOX::LastFailure =
      support::MakeFailure(support::FailureKind::InUse, platform::kErrFileInUse, "Cannot open");
  modRIGBOX::LastFailure.File = "car";
  wizard::SetLanguageForTesting(wizard::Language::Polish);
  std::string report = wizard::PackageErrorReport("setup.exe");
  wizard::SetLanguageForTesting(std::nullopt);
  EXPECT_EQ(report,
            "File:setup.exe\nCannot open \"car\": plik jest używany przez inny program, na przykład grę: "
            "zamknij go i spróbuj ponownie");
}

}  // namespace
