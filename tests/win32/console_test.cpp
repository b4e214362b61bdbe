#include <gtest/gtest.h>

#include <string>

#include "common/temp_dir.h"
#include "console.h"

namespace {

using win32_frontend::ConsoleWriter;
using win32_frontend::KindOf;
using win32_frontend::LineForWindows;
using win32_frontend::StreamKind;

struct LineCase {
  const char* Given;
  const char* Written;
};

class Win32ConsoleLines : public testing::TestWithParam<LineCase> {};

TEST_P(Win32ConsoleLines, EndWithCarriageReturnAndLineFeed) {
  EXPECT_EQ(LineForWindows(GetParam().Given), GetParam().Written);
}

INSTANTIATE_TEST_SUITE_P(
    Win32Console, Win32ConsoleLines,
    testing::Values(LineCase{"Successfully completed", "Successfully completed\r\n"}, LineCase{"", "\r\n"},
                    // The usage text: lines inside and a last line end.
                    LineCase{"Usage: x\n\n  --help\n", "Usage: x\r\n\r\n  --help\r\n"},
                    LineCase{"File:C:\\a.exe\nNo RIGBOX File!", "File:C:\\a.exe\r\nNo RIGBOX File!\r\n"},
                    LineCase{"already\r\nended\r\n", "already\r\nended\r\n"}));

HANDLE CreateForWriting(const std::filesystem::path& path) {
  return CreateFileW(path.wstring().c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                     FILE_ATTRIBUTE_NORMAL, nullptr);
}

TEST(Win32Console, RedirectedStreamsGetUtf8) {
  testing_support::TempDir dir;
  HANDLE out = CreateForWriting(dir / "out.txt");
  HANDLE err = CreateForWriting(dir / "err.txt");
  ASSERT_NE(out, INVALID_HANDLE_VALUE);
  ASSERT_NE(err, INVALID_HANDLE_VALUE);
  EXPECT_EQ(KindOf(out), StreamKind::Redirected);
  {
    ConsoleWriter writer(out, err);
    writer.Out(
        "Zako\xC5\x84"
        "czono pomy\xC5\x9Blnie.");
    writer.Out("Tworzenie pliku:Data\\Cars\\Cars.scr");
    writer.Err("File:Z:\\tmp\\install.exe\nNo RIGBOX File!");
  }
  CloseHandle(out);
  CloseHandle(err);
  EXPECT_EQ(testing_support::ReadFile(dir / "out.txt"),
            "Zako\xC5\x84"
            "czono pomy\xC5\x9Blnie.\r\nTworzenie pliku:Data\\Cars\\Cars.scr\r\n");
  EXPECT_EQ(testing_support::ReadFile(dir / "err.txt"), "File:Z:\\tmp\\install.exe\r\nNo RIGBOX File!\r\n");
}

TEST(Win32Console, MissingStreamsWriteNowhere) {
  EXPECT_EQ(KindOf(nullptr), StreamKind::None);
  EXPECT_EQ(KindOf(INVALID_HANDLE_VALUE), StreamKind::None);
  ConsoleWriter writer(nullptr, INVALID_HANDLE_VALUE);
  writer.Out("nothing happens");
  writer.Err("nothing happens");
}

}  // namespace
