// Windows only: the installer's own file, which holds the package, keeps
// writers out while it is open.
#include <gtest/gtest.h>

#include "common/temp_dir.h"
#include "package/package_bytes.h"
#include "package/rigbox.h"
#include "support/windows_include.h"

namespace {

TEST(PackageOpenWin32, OpenPackageLetsOthersReadButNotWrite) {
  testing_support::TempDir dir;
  testing_support::WriteFile(dir / "setup.exe",
                             package_bytes::SelfExtracting(package_bytes::ExamplePackage(), 300));
  std::wstring path = (dir / "setup.exe").wstring();
  ASSERT_TRUE(modRIGBOX::OpenPackage(modRIGBOX::kModeAppended, dir.Folder() + "setup.exe", "", 0));
  for (DWORD access : {DWORD{GENERIC_READ}, DWORD{GENERIC_WRITE}}) {
    HANDLE other = CreateFileW(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                               OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    EXPECT_EQ(other != INVALID_HANDLE_VALUE, access == GENERIC_READ) << access;
    if (other != INVALID_HANDLE_VALUE) CloseHandle(other);
  }
  modRIGBOX::ClosePackage();
}

// A writer elsewhere keeps the package from being read: the file is in use.
TEST(PackageOpenWin32, PackageHeldByAWriterIsInUse) {
  testing_support::TempDir dir;
  testing_support::WriteFile(dir / "car.rigbox", package_bytes::ExamplePackage());
  HANDLE writer = CreateFileW((dir / "car.rigbox").wstring().c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  EXPECT_FALSE(modRIGBOX::OpenPackage(modRIGBOX::kModePackageFile, dir.Folder() + "car.rigbox", "", 0));
  EXPECT_EQ(modRIGBOX::LastFailure.Kind, support::FailureKind::InUse);
  CloseHandle(writer);
}

}  // namespace
