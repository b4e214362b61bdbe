#include <gtest/gtest.h>

#include <string>

#include "common/temp_dir.h"
#include "console.h"

namespace {

using win32_frontend::ConsoleWriter, win32_frontend::KindOf, win32_frontend::StreamKind;

TEST(Win32Console, LinesEndWithCarriageReturnAndLineFeed) {
  const struct {
    const char* Given;
    const char* Written;
  } lines[] = {{"Successfully completed", "Successfully completed\r\n"},
               {"", "\r\n"},
               // The usage text: lines inside and a last line end.
               {"Usage: x\n\n  --help\n", "Usage: x\r\n\r\n  --help\r\n"},
               {"already\r\nended\r\n", "already\r\nended\r\n"}};
  for (const auto& line : lines) EXPECT_EQ(win32_frontend::LineForWindows(line.Given), line.Written);
}

TEST(Win32Console, RedirectedStreamsGetTheirOwnLines) {
  testing_support::TempDir dir;
  auto create = [&dir](const char* name) {
    return CreateFileW((dir / name).wstring().c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
  };
  HANDLE out = create("out.txt"), err = create("err.txt");
  EXPECT_EQ(KindOf(out), StreamKind::Redirected);
  {
    ConsoleWriter writer(out, err);
    writer.Out(
        "Zako\xC5\x84"
        "czono");
    writer.Err("No RIGBOX File!");
  }
  CloseHandle(out);
  CloseHandle(err);
  EXPECT_EQ(testing_support::ReadFile(dir / "out.txt"),
            "Zako\xC5\x84"
            "czono\r\n");
  EXPECT_EQ(testing_support::ReadFile(dir / "err.txt"), "No RIGBOX File!\r\n");
}

TEST(Win32Console, MissingStreamsWriteNowhere) {
  EXPECT_EQ(KindOf(nullptr), StreamKind::None);
  EXPECT_EQ(KindOf(INVALID_HANDLE_VALUE), StreamKind::None);
  ConsoleWriter(nullptr, INVALID_HANDLE_VALUE).Out("nothing happens");
}

}  // namespace
