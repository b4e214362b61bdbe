// A file whose copy into a package fails halfway, made with a file-size
// limit in a child process so that the second chunk's write fails.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>

#include "common/temp_dir.h"
#include "package/rigbox.h"

namespace {

using testing_support::TempDir;
using testing_support::WriteFile;

TEST(PackageCreatePosix, AddThatFailsHalfwayLeavesNoStrayBytes) {
  TempDir dir;
  WriteFile(dir / "small", "0123456789");
  WriteFile(dir / "big", std::string(600 * 1024, 'b'));
  std::string out = dir.Folder() + "car.rigbox";
  pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit{400 * 1024, 400 * 1024};
    bool ok = setrlimit(RLIMIT_FSIZE, &limit) == 0 && modRIGBOX::OpenPackage(0, out, "ABC", 0) &&
              modRIGBOX::AddPackageFile(dir.Folder() + "small", "", "small.txt") &&
              !modRIGBOX::AddPackageFile(dir.Folder() + "big", "", "big.bin") && modRIGBOX::ClosePackage();
    _exit(ok ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  // The package holds the small file only and ends with its directory.
  EXPECT_EQ(std::filesystem::file_size(dir / "car.rigbox"), 25u + 10u + 88u);
  ASSERT_TRUE(modRIGBOX::CheckPackageFile(out)) << modRIGBOX::LastErrText;
  EXPECT_EQ(modRIGBOX::PackageHeader.FileCount, 1);
  EXPECT_EQ(modRIGBOX::PackageHeader.EndPos, 123);
}

}  // namespace
