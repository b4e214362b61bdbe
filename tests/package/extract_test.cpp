#include <gtest/gtest.h>
#ifndef _WIN32
#include <fcntl.h>
#endif

#include <algorithm>
#include <filesystem>

#include "common/temp_dir.h"
#include "package/package_bytes.h"
#include "package/rigbox.h"
#include "support/platform.h"
#ifndef _WIN32
#include "common/unprivileged_posix.h"
#include "package/chunk_copy.h"
#endif

namespace fs = std::filesystem;

namespace {

using namespace package_bytes;
using namespace testing_support;

class PackageExtract : public ::testing::Test {
 protected:
  void TearDown() override { modRIGBOX::ClosePackage(); }

  // Puts bytes into a package file and opens it in the given mode.
  std::string Open(const std::string& bytes, int32_t mode = 1) {
    std::string name = mode == 1 ? "car.rigbox" : "setup.exe";
    WriteFile(dir_ / name, bytes);
    std::string path = dir_.Folder() + name;
    EXPECT_TRUE(modRIGBOX::OpenPackage(mode, path, "", 0)) << modRIGBOX::LastErrText;
    return path;
  }

  TempDir dir_;
};

// Files that lie together are read together: one read for all three,
// which the busy hook hears of once.
TEST_F(PackageExtract, NeighbouringFilesShareOneRead) {
  Open(Header("RIGBOX", 0, kVersion1, 3, 35, 34 + 3 * 88, "ABC") + "abcdefghi" +
       Entry(3, 26, Folder(""), Name("a")) + Entry(3, 29, Folder(""), Name("b")) +
       Entry(3, 32, Folder(""), Name("c")));
  int reads = 0;
  modRIGBOX::SetBusyHook([](void* count) { ++*static_cast<int*>(count); }, &reads);
  std::string dest = dir_.Folder() + "out";
  EXPECT_TRUE(modRIGBOX::ExtractPackage(dest));
  modRIGBOX::SetBusyHook(nullptr, nullptr);
  EXPECT_EQ(ReadFile(dir_ / "out/c"), "ghi");
  EXPECT_EQ(reads, 1);
}

// Each package's files land below the destination, which gains one
// separator; the folders are created, an existing file is replaced.
TEST_F(PackageExtract, WritesEveryFileWhereverItsDataLies) {
  std::string trailingBackslash = ExamplePackage();
  trailingBackslash.replace(trailingBackslash.size() - 88 + 8, 16, Folder("Parts\\"));
  // Sizes 0, 3, 0; the last entry's folder field has no NUL at all.
  std::string emptyEntries = Header("RIGBOX", 0, kVersion1, 3, 29, 28 + 3 * 88, "ABC") + "xyz" +
                             Entry(0, 26, Folder(""), Name("empty.txt")) +
                             Entry(3, 26, Folder("Textures\\HiRes"), Name("my body.txt")) +
                             Entry(0, 29, "Textures        ", Name("none.txt"));
  // Not as the maker writes them, but valid: data in reverse order, and two
  // entries sharing bytes.
  std::string anywhere = Header("RIGBOX", 0, kVersion1, 3, 41, 40 + 3 * 88, "ABC") + kFirstData +
                         kSecondData + Entry(5, 36, Folder(""), Name("second.txt")) +
                         Entry(10, 26, Folder(""), Name("first.txt")) +
                         Entry(4, 33, Folder(""), Name("shared.txt"));
  std::string big = Patterned(3 * 1024 * 1024 + 7);
  const struct {
    std::string Bytes;
    int32_t Mode;
    const char* Dest;
    std::vector<std::pair<const char*, std::string>> Files;
  } cases[] = {
      {ExamplePackage(), 1, "Game\\Cars\\ABC", {{"Cars.scr", kFirstData}, {"Parts/engine.scr", kSecondData}}},
      {trailingBackslash, 1, "trail", {{"Parts/engine.scr", kSecondData}}},
      {emptyEntries,
       1,
       "empty",
       {{"empty.txt", ""}, {"Textures/HiRes/my body.txt", "xyz"}, {"Textures/none.txt", ""}}},
      {anywhere,
       1,
       "anywhere",
       {{"second.txt", kSecondData}, {"first.txt", kFirstData}, {"shared.txt", "789a"}}},
      {SelfExtracting(OneFilePackage(big), 4096), 2, "big\\", {{"Data/big.bin", big}}},
  };
  WriteFile(dir_ / "empty/empty.txt", "old content");
  for (const auto& c : cases) {
    Open(c.Bytes, c.Mode);
    std::string dest = dir_.Folder() + c.Dest;
    ASSERT_TRUE(modRIGBOX::ExtractPackage(dest)) << c.Dest << ": " << modRIGBOX::LastErrText;
    EXPECT_EQ(dest,
              dir_.Folder() + c.Dest +
                  (std::string(c.Dest).back() == '\\' ? "" : std::string(1, platform::kPreferredSeparator)));
    EXPECT_EQ(modRIGBOX::LastErrNumber, 0);
    std::string folder = dest.substr(dir_.Folder().size(), dest.size() - dir_.Folder().size() - 1);
    std::replace(folder.begin(), folder.end(), '\\', '/');
    for (const auto& [file, data] : c.Files)
      EXPECT_TRUE(fs::exists(dir_ / folder / file) && ReadFile(dir_ / folder / file) == data) << file;
    modRIGBOX::ClosePackage();
  }
}

TEST_F(PackageExtract, FailureAtOneEntryKeepsTheEarlierOnes) {
  // The second entry's target is a folder, which no file can replace.
  fs::create_directories(dir_ / "car/Parts/engine.scr");
  Open(ExamplePackage());
  std::string dest = dir_.Folder() + "car";
  EXPECT_FALSE(modRIGBOX::ExtractPackage(dest));
  EXPECT_EQ(ReadFile(dir_ / "car/Cars.scr"), kFirstData);
  EXPECT_EQ(modRIGBOX::LastFailure.Kind, support::FailureKind::AccessDenied);
  EXPECT_EQ(modRIGBOX::LastErrNumber, 75);
  EXPECT_EQ(modRIGBOX::LastErrText, "Cannot create \"" + dest + "Parts" + platform::kPreferredSeparator +
                                        "engine.scr\": Path/File access error");
}

TEST_F(PackageExtract, SuccessClearsTheLastFailure) {
  std::string dest = dir_.Folder() + "car";
  EXPECT_FALSE(modRIGBOX::ExtractPackage(dest));  // nothing open yet
  EXPECT_EQ(modRIGBOX::LastErrText, "No package is open for reading");
  Open(ExamplePackage());
  ASSERT_TRUE(modRIGBOX::ExtractPackage(dest));
  EXPECT_EQ(modRIGBOX::LastFailure.Kind, support::FailureKind::None);
  EXPECT_EQ(modRIGBOX::LastErrNumber, 0);
  EXPECT_EQ(modRIGBOX::LastErrText, "");
}

// The directory replaces what the vector held, read as often as asked.
TEST_F(PackageExtract, DirectoryIsReadAfresh) {
  Open(ExamplePackage());
  std::vector<modRIGBOX::RigboxEntry> entries(5);
  ASSERT_TRUE(modRIGBOX::ReadPackageDirectory(entries));
  ASSERT_TRUE(modRIGBOX::ReadPackageDirectory(entries));
  EXPECT_EQ(entries.size(), 2u);
}

// A package that failed to open is none open.
TEST_F(PackageExtract, NeedsAPackageOpenedForReading) {
  std::string dest = dir_.Folder() + "car";
  WriteFile(dir_ / "bad.rigbox", Header("rigbox", 0, kVersion1, 0, 26, 25, "ABC"));
  EXPECT_FALSE(modRIGBOX::OpenPackage(1, dir_.Folder() + "bad.rigbox", "", 0));
  EXPECT_FALSE(modRIGBOX::ExtractPackage(dest));
  EXPECT_EQ(modRIGBOX::LastErrText, "No package is open for reading");
}

// Malformed packages, named after their defect, and the reason given. None
// of them may write anything.
std::string Package(int16_t fileCount, int32_t dirPos, const std::string& directory) {
  return Header("RIGBOX", 0, kVersion1, fileCount, dirPos, 216, "ABC") + kFirstData + kSecondData + directory;
}

TEST_F(PackageExtract, MalformedPackagesWriteNothing) {
  const std::string good = Entry(10, 26, Folder(""), Name("Cars.scr"));
  const std::string outside = " lie outside the data area (positions 26 to 40)";
  // The name rules have their own table; one row per field shows the wiring.
  const struct {
    std::string Bytes;
    int32_t Mode;
    std::string Error;  // "%P" stands for the package's path
  } cases[] = {
      {Package(2, 41, Entry(-1, 26, Folder(""), Name("Cars.scr")) + good), 1,
       "Entry 1 (\"Cars.scr\"): size -1 is negative"},
      {Package(2, 41, good + Entry(5, 20, Folder("Parts"), Name("engine.scr"))), 1,
       "Entry 2 (\"Parts\\engine.scr\"): 5 bytes at position 20" + outside},
      {Package(2, 41, good + Entry(6, 36, Folder("Parts"), Name("engine.scr"))), 1,
       "Entry 2 (\"Parts\\engine.scr\"): 6 bytes at position 36" + outside},
      {Package(2, 41, good + Entry(0x7FFFFFFF, 0x7FFFFFF0, Folder(""), Name("x"))), 1,
       "Entry 2 (\"x\"): 2147483647 bytes at position 2147483632" + outside},
      {Package(-2, 41, good + good), 1, "The directory of \"%P\" has a negative file count (-2)"},
      {Package(2, 10, good + good), 1, "The directory of \"%P\" starts at position 10, before the data area"},
      // An appended package ends at its trailer, four bytes short here.
      {SelfExtracting(ExamplePackage().substr(0, 212), 100), 2,
       "The directory of \"%P\" (positions 41 to 216) runs past the end of the package at 212"},
      {Package(2, 41, good + Entry(5, 36, Folder(".."), Name("engine.scr"))), 1,
       "Entry 2 (\"..\\engine.scr\"): folder name has a \"..\" part"},
      {Package(2, 41, good + Entry(5, 36, Folder(""), Name("../../x"))), 1,
       "Entry 2 (\"../../x\"): file name has a slash or backslash"},
  };
  for (const auto& c : cases) {
    std::string path = Open(c.Bytes, c.Mode);
    std::string error = c.Error, dest = dir_.Folder() + "car";
    if (size_t at = error.find("%P"); at != std::string::npos) error.replace(at, 2, path);
    EXPECT_FALSE(modRIGBOX::ExtractPackage(dest)) << error;
    EXPECT_EQ(modRIGBOX::LastFailure.Kind, support::FailureKind::BadPackage) << error;
    EXPECT_EQ(modRIGBOX::LastErrNumber, -1) << error;
    EXPECT_EQ(modRIGBOX::LastErrText, error);
    EXPECT_FALSE(fs::exists(dir_ / "car")) << error;
    modRIGBOX::ClosePackage();
  }
}

#ifndef _WIN32
TEST_F(PackageExtract, ReadOnlyTargetEndsTheExtraction) {
  WriteFile(dir_ / "car.rigbox", ExamplePackage());
  WriteFile(dir_ / "car/Parts/engine.scr", "old");
  std::string dest = dir_.Folder() + "car";
  ASSERT_TRUE(platform::SetFileAttributes(dest + "\\Parts\\engine.scr", platform::kAttrReadOnly));
  auto result = testing_support::RunUnprivileged(dir_.Path(), [&] {
    if (!modRIGBOX::OpenPackage(1, dir_.Folder() + "car.rigbox", "", 0))
      return "open: " + modRIGBOX::LastErrText;
    bool extracted = modRIGBOX::ExtractPackage(dest);
    modRIGBOX::ClosePackage();
    return std::string(extracted ? "written" : "failed") + " " + std::to_string(modRIGBOX::LastErrNumber) +
           " " + modRIGBOX::LastErrText;
  });
  ASSERT_TRUE(result.has_value());
  EXPECT_EQ(*result, "failed 70 Cannot create \"" + dest + "/Parts/engine.scr\": Permission denied");
  EXPECT_EQ(ReadFile(dir_ / "car/Cars.scr"), kFirstData);
  EXPECT_EQ(ReadFile(dir_ / "car/Parts/engine.scr"), "old");
}

// A car folder that cannot be made is reported for itself, with its own
// reason, not as its first file's missing path.
TEST_F(PackageExtract, FolderThatCannotBeMadeGivesItsOwnReason) {
  WriteFile(dir_ / "car.rigbox", ExamplePackage());
  WriteFile(dir_ / "locked/keep", "");
  fs::permissions(dir_ / "locked", fs::perms::owner_write, fs::perm_options::remove);
  auto extract = [&](std::string dest) {
    bool extracted =
        modRIGBOX::OpenPackage(1, dir_.Folder() + "car.rigbox", "", 0) && modRIGBOX::ExtractPackage(dest);
    modRIGBOX::ClosePackage();
    return std::string(extracted ? "written " : "failed ") + modRIGBOX::LastErrText;
  };
  auto result =
      testing_support::RunUnprivileged(dir_.Path(), [&] { return extract(dir_.Folder() + "locked/car"); });
  EXPECT_EQ(result, "failed Cannot create folder \"" + dir_.Folder() + "locked/car/\": Permission denied");
  WriteFile(dir_ / "car", "a file in the way");
  EXPECT_EQ(extract(dir_.Folder() + "car"),
            "failed Cannot create folder \"" + dir_.Folder() + "car/\": Path/File access error");
}

// Three pieces of a copy and a few bytes more.
const std::string kBig = Patterned(3 * modRIGBOX::kCopyChunkSize + 7);

using Change = void (*)(const fs::path& dir);

// Extracts kBig, stored on a page boundary for the system to copy it, from
// dir's package into dir/car, making a change at the window's second
// paint, between the second and the third piece.
bool ExtractChangingMidway(const TempDir& dir, Change change) {
  WriteFile(dir / "car.rigbox", OneFilePackage(kBig, 4097));
  if (!modRIGBOX::OpenPackage(1, dir.Folder() + "car.rigbox", "", 0)) return false;
  struct Paint {
    const TempDir& Dir;
    Change Make;
    int Count = 0;
  } paint{dir, change};
  modRIGBOX::SetBusyHook(
      [](void* context) {
        auto* state = static_cast<Paint*>(context);
        if (++state->Count == 2) state->Make(state->Dir.Path());
      },
      &paint);
  std::string dest = dir.Folder() + "car";
  bool extracted = modRIGBOX::ExtractPackage(dest);
  modRIGBOX::SetBusyHook(nullptr, nullptr);
  modRIGBOX::ClosePackage();
  return extracted;
}

// The package loses its end: the short copy is a failure to read the
// package, as a short read is.
TEST_F(PackageExtract, PackageCutShortWhileCopyingIsAReadFailure) {
  EXPECT_FALSE(ExtractChangingMidway(dir_, [](const fs::path& at) {
    fs::resize_file(at / "car.rigbox", 4096 + 2 * modRIGBOX::kCopyChunkSize + 100);
  }));
  EXPECT_EQ(modRIGBOX::LastErrNumber, 62);
  EXPECT_EQ(modRIGBOX::LastErrText, "Cannot read Entry 1 (\"Data\\big.bin\") of \"" + dir_.Folder() +
                                        "car.rigbox\": Input past end of file");
}

// The system refuses to copy into a file opened for appending: the window
// copies the rest.
TEST_F(PackageExtract, CopyRefusedMidwayGoesOnThroughTheWindow) {
  EXPECT_TRUE(ExtractChangingMidway(dir_, [](const fs::path& at) {
    std::error_code error;
    for (const auto& fd : fs::directory_iterator("/proc/self/fd")) {
      if (fs::equivalent(fd.path(), at / "car/Data/big.bin", error))
        fcntl(std::stoi(fd.path().filename()), F_SETFL, O_APPEND);
    }
  })) << modRIGBOX::LastErrText;
  EXPECT_TRUE(ReadFile(dir_ / "car/Data/big.bin") == kBig);
}
#endif

}  // namespace
