#include <gtest/gtest.h>

#include <cstring>
#include <tuple>

#include "discovery/registry.h"

namespace {

using namespace modRegistry;

constexpr KeyHandle kOpened = 0x1234;
const std::string kClosed = "close " + std::to_string(kOpened);

struct FakeValue {
  uint32_t Type;
  std::string Data;
  // Reported length when it differs from the data written.
  std::optional<uint32_t> ReportedLength = std::nullopt;
};

// A registry whose every key holds at most "DestinationDir"; records every call.
class FakeRegistry : public RegistryApi {
 public:
  std::optional<FakeValue> Value;
  int32_t OpenStatus = kErrorSuccess;
  std::vector<std::string> Calls;
  bool BufferWasZeroed = true;

  int32_t OpenKey(uint32_t root, const std::string& subKey, uint32_t options, uint32_t access,
                  KeyHandle& key) override {
    bool usual = root == kHkeyLocalMachine && options == 0 && access == kKeyRead;
    Calls.push_back("open " + subKey + (usual ? "" : " with other arguments"));
    if (OpenStatus == kErrorSuccess) key = kOpened;
    return OpenStatus;
  }

  int32_t QueryValue(KeyHandle key, const std::string& valueName, uint32_t& type, uint8_t* data,
                     uint32_t& length) override {
    Calls.push_back("query " + std::to_string(key) + " " + valueName);
    for (uint32_t i = 0; i < length; ++i) BufferWasZeroed = BufferWasZeroed && data[i] == 0;
    if (!Value || valueName != "DestinationDir") return kErrorFileNotFound;
    if (Value->Data.size() > length) return kErrorMoreData;
    std::memcpy(data, Value->Data.data(), Value->Data.size());
    type = Value->Type;
    length = Value->ReportedLength.value_or(static_cast<uint32_t>(Value->Data.size()));
    return kErrorSuccess;
  }

  int32_t CloseKey(KeyHandle key) override {
    Calls.push_back("close " + std::to_string(key));
    return key == 0 ? kErrorInvalidHandle : kErrorSuccess;
  }
};

// Reads DestinationDir of the game's key into out, which starts as "previous".
bool Read(FakeRegistry& fake, std::string& out, const char* keyPath = "SOFTWARE\\Brackmoor\\Gravelon") {
  out = "previous";
  return ReadRegistryValue(fake, kHkeyLocalMachine, keyPath, "DestinationDir", out);
}

// The key opened read-only, the value queried into a zeroed buffer, the key
// closed. Strings lose only a terminating zero at the reported length;
// DWORDs become decimal text; other types empty text.
TEST(DiscoveryReadRegistryValue, ValuesAsText) {
  const std::vector<std::string> calls = {"open SOFTWARE\\Brackmoor\\Gravelon",
                                          "query " + std::to_string(kOpened) + " DestinationDir", kClosed};
  const std::pair<FakeValue, std::string> cases[] = {
      {{kRegSz, std::string("abc\0", 4)}, "abc"},
      {{kRegSz, "ab", 3}, "ab"},  // the zeroed buffer supplies the zero
      {{kRegSz, std::string("a\0c", 3)}, std::string("a\0c", 3)},
      {{kRegSz, std::string(kValueBufferSize, 'x')},
       std::string(kValueBufferSize, 'x')},  // exactly the buffer
      {{kRegDword, std::string("\x0A\x00\x00\x00", 4)}, "10"},
      {{kRegDword, std::string("\xFF\xFF\xFF\xFF", 4)}, "-1"},
      {{kRegDword, std::string("\x78\x56\x34\x12", 4)}, "305419896"},
      {{kRegDword, std::string("\x0A\x01", 2)}, "266"},
      {{kRegDword, std::string("\x01\x00\x00\x00\x01", 5)}, "&H100000001"},  // no DWORD is that long
      {{kRegExpandSz, std::string("%X%\0", 4)}, ""},
  };
  for (const auto& [value, expected] : cases) {
    FakeRegistry fake;
    fake.Value = value;
    std::string out;
    EXPECT_TRUE(Read(fake, out)) << value.Type << " " << value.Data.size();
    EXPECT_EQ(out, expected) << value.Type << " " << value.Data.size();
    EXPECT_EQ(fake.Calls, calls);
    EXPECT_TRUE(fake.BufferWasZeroed);
  }
}

// A failed open (the empty handle is closed all the same), a missing value,
// one over the buffer, of length zero or claiming more than the buffer: the
// text stays.
TEST(DiscoveryReadRegistryValue, FailuresLeaveTheTextAndClose) {
  const std::tuple<int32_t, std::optional<FakeValue>, std::string> cases[] = {
      {kErrorFileNotFound, FakeValue{kRegSz, "C:\\x\\"}, "close 0"},
      {kErrorSuccess, std::nullopt, kClosed},
      {kErrorSuccess, FakeValue{kRegSz, std::string(kValueBufferSize, 'x') + '\0'}, kClosed},
      {kErrorSuccess, FakeValue{kRegSz, ""}, kClosed},
      {kErrorSuccess, FakeValue{kRegSz, "x", kValueBufferSize + 1}, kClosed},
  };
  for (const auto& [openStatus, value, lastCall] : cases) {
    FakeRegistry fake;
    fake.OpenStatus = openStatus;
    fake.Value = value;
    std::string out;
    EXPECT_FALSE(Read(fake, out)) << lastCall << " " << (value ? value->Data.size() : 0);
    EXPECT_EQ(out, "previous");
    EXPECT_EQ(fake.Calls.back(), lastCall);
  }
  FakeRegistry fake;
  std::string out;
  EXPECT_FALSE(Read(fake, out, "SOFTWARE\\Brackmoor\\"));  // malformed: nothing is opened
  EXPECT_TRUE(fake.Calls.empty());
}

}  // namespace
