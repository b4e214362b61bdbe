#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#endif

#include <cstdint>

#include "common/temp_dir.h"
#include "package/chunk_copy.h"
#include "package/package_bytes.h"
#include "package/rigbox.h"

namespace {

using namespace package_bytes;
using support::FailureKind;
using namespace testing_support;

class PackageCreate : public ::testing::Test {
 protected:
  void TearDown() override { modRIGBOX::ClosePackage(); }

  std::string Source(const std::string& name, const std::string& bytes) {
    WriteFile(dir_ / "src" / name, bytes);
    return dir_.Folder() + "src/" + name;
  }

  TempDir dir_;
};

TEST_F(PackageCreate, WritesTheExampleByteForByte) {
  std::string out = dir_.Folder() + "car.rigbox";
  ASSERT_TRUE(modRIGBOX::OpenPackage(0, out, "ABC", 0));
  ASSERT_TRUE(modRIGBOX::AddPackageFile(Source("a", kFirstData), "", "Cars.scr")) << modRIGBOX::LastErrText;
  ASSERT_TRUE(modRIGBOX::AddPackageFile(Source("b", kSecondData), "Parts", "engine.scr"))
      << modRIGBOX::LastErrText;
  ASSERT_TRUE(modRIGBOX::ClosePackage()) << modRIGBOX::LastErrText;
  EXPECT_EQ(ReadFile(dir_ / "car.rigbox"), ExamplePackage());
}

// An existing file is replaced entirely; the car ID is padded or cut to
// three characters, the flags to 16 bits. Without files the directory
// would start at 26.
TEST_F(PackageCreate, HeaderOnlyPackage) {
  const struct {
    const char* CarId;
    int32_t Flags;
    std::string Expected;
  } cases[] = {{"AB", 7, Header("RIGBOX", 7, kVersion1, 0, 26, 25, "AB ")},
               {"ABCD", 0x12345, Header("RIGBOX", 0x2345, kVersion1, 0, 26, 25, "ABC")}};
  for (const auto& c : cases) {
    WriteFile(dir_ / "car.rigbox", std::string(5000, '#'));
    ASSERT_TRUE(modRIGBOX::OpenPackage(0, dir_.Folder() + "car.rigbox", c.CarId, c.Flags));
    ASSERT_TRUE(modRIGBOX::ClosePackage());
    EXPECT_EQ(ReadFile(dir_ / "car.rigbox"), c.Expected) << c.CarId;
  }
}

// An empty file takes no room, a big one is copied in chunks, a 64-character name fills its field.
TEST_F(PackageCreate, FilesAtTheEdgesAreStoredByteForByte) {
  std::string longName(64, 'n');
  std::string big = Patterned(2 * modRIGBOX::kCopyChunkSize + 12345);
  auto size = static_cast<int32_t>(big.size());
  ASSERT_TRUE(modRIGBOX::OpenPackage(0, dir_.Folder() + "car.rigbox", "ZZ9", 0));
  ASSERT_TRUE(modRIGBOX::AddPackageFile(Source("e", ""), "Textures\\HiRes", longName))
      << modRIGBOX::LastErrText;
  ASSERT_TRUE(modRIGBOX::AddPackageFile(Source("big", big), "", "big.bin"));
  ASSERT_TRUE(modRIGBOX::ClosePackage());
  EXPECT_EQ(ReadFile(dir_ / "car.rigbox"),
            Header("RIGBOX", 0, kVersion1, 2, 26 + size, 25 + size + 2 * 88, "ZZ9") + big +
                Entry(0, 26, Folder("Textures\\HiRes"), longName) +
                Entry(size, 26, Folder(""), Name("big.bin")));
}

// The name rules themselves are the safe-name tests' business; one name
// per field shows they are applied, before the source is opened.
TEST_F(PackageCreate, RefusedFilesAreNotAdded) {
  const std::string source = Source("s", "data");
  const std::string missing = dir_.Folder() + "nothing.txt";
  const struct {
    std::string Source, SubFolder, FileName;
    FailureKind Kind;
    int16_t Number;
    std::string Error;
  } cases[] = {
      {missing, "..", "x.txt", FailureKind::BadName, 52,
       "Cannot store \"..\\x.txt\", its folder name has a \"..\" part"},
      {source, "", "a/b", FailureKind::BadName, 52,
       "Cannot store \"a/b\", its file name has a slash or backslash"},
      {missing, "", "nothing.txt", FailureKind::System, 53,
       "Cannot open \"" + missing + "\": File not found"},
  };
  ASSERT_TRUE(modRIGBOX::OpenPackage(0, dir_.Folder() + "car.rigbox", "ABC", 0));
  for (const auto& c : cases) {
    EXPECT_FALSE(modRIGBOX::AddPackageFile(c.Source, c.SubFolder, c.FileName));
    EXPECT_EQ(modRIGBOX::LastFailure.Kind, c.Kind);
    EXPECT_EQ(modRIGBOX::LastErrNumber, c.Number);
    EXPECT_EQ(modRIGBOX::LastErrText, c.Error);
  }
  EXPECT_EQ(modRIGBOX::PackageHeader.FileCount, 0);
  EXPECT_TRUE(modRIGBOX::PackageDir.empty());
}

// Positions are 32-bit: a file fits while its data and the whole directory
// after it end at the last one, to the byte.
TEST_F(PackageCreate, PackageStaysWithin32BitPositions) {
  const std::string source = Source("s", "data");
  ASSERT_TRUE(modRIGBOX::OpenPackage(0, dir_.Folder() + "car.rigbox", "ABC", 0));
  const int32_t fits = INT32_MAX - 4 - static_cast<int32_t>(modRIGBOX::RigboxEntry::kSize);
  modRIGBOX::PackageHeader.EndPos = fits + 1;
  EXPECT_FALSE(modRIGBOX::AddPackageFile(source, "", "a"));
  EXPECT_EQ(modRIGBOX::LastFailure.Kind, FailureKind::TooBig);
  modRIGBOX::PackageHeader.EndPos = fits;
  EXPECT_TRUE(modRIGBOX::AddPackageFile(source, "", "a")) << modRIGBOX::LastErrText;
}

TEST_F(PackageCreate, AddingNeedsAPackageBeingCreated) {
  std::string source = Source("s", "data");
  WriteFile(dir_ / "car.rigbox", ExamplePackage());
  ASSERT_TRUE(modRIGBOX::OpenPackage(1, dir_.Folder() + "car.rigbox", "", 0));
  EXPECT_FALSE(modRIGBOX::AddPackageFile(source, "", "s"));
  EXPECT_EQ(modRIGBOX::LastFailure.Kind, FailureKind::Misuse);
  EXPECT_EQ(modRIGBOX::LastErrNumber, 5);
  EXPECT_EQ(modRIGBOX::LastErrText, "Cannot add \"" + source + "\", no package is being created");
}

TEST_F(PackageCreate, CloseAfterAFailedCreateFailsWithTheSameReason) {
  std::string out = dir_.Folder() + "no-such-folder/car.rigbox";
  EXPECT_FALSE(modRIGBOX::OpenPackage(0, out, "ABC", 0));
  std::string reason = modRIGBOX::LastErrText;
  EXPECT_FALSE(modRIGBOX::ClosePackage());
  EXPECT_EQ(modRIGBOX::LastErrText, reason);
  // The next package is made as usual.
  ASSERT_TRUE(modRIGBOX::OpenPackage(0, dir_.Folder() + "car.rigbox", "ABC", 0));
  EXPECT_TRUE(modRIGBOX::ClosePackage()) << modRIGBOX::LastErrText;
}

#ifndef _WIN32
// A file whose copy into a package fails halfway, made with a file-size
// limit in a child process so that the second chunk's write fails.
TEST_F(PackageCreate, AddThatFailsHalfwayLeavesNoStrayBytes) {
  const std::string small = Source("small", "0123456789"), big = Source("big", std::string(600 * 1024, 'b'));
  std::string out = dir_.Folder() + "car.rigbox";
  pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit{400 * 1024, 400 * 1024};
    bool ok = setrlimit(RLIMIT_FSIZE, &limit) == 0 && modRIGBOX::OpenPackage(0, out, "ABC", 0) &&
              modRIGBOX::AddPackageFile(small, "", "small.txt") &&
              !modRIGBOX::AddPackageFile(big, "", "big.bin") && modRIGBOX::ClosePackage();
    _exit(ok ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  // The package holds the small file only and ends with its directory.
  EXPECT_EQ(std::filesystem::file_size(dir_ / "car.rigbox"), 25u + 10u + 88u);
  ASSERT_TRUE(modRIGBOX::CheckPackageFile(out)) << modRIGBOX::LastErrText;
  EXPECT_EQ(modRIGBOX::PackageHeader.FileCount, 1);
  EXPECT_EQ(modRIGBOX::PackageHeader.EndPos, 123);
}
#endif

}  // namespace
