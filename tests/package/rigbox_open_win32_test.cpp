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
  auto openElsewhere = [&path](DWORD access) {
    return CreateFileW(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
  };
  HANDLE reader = openElsewhere(GENERIC_READ);
  EXPECT_NE(reader, INVALID_HANDLE_VALUE);
  if (reader != INVALID_HANDLE_VALUE) CloseHandle(reader);
  HANDLE writer = openElsewhere(GENERIC_WRITE);
  EXPECT_EQ(writer, INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
  if (writer != INVALID_HANDLE_VALUE) CloseHandle(writer);
  modRIGBOX::ClosePackage();
}

}  // namespace
