#include <gtest/gtest.h>

#include <cstring>
#include <map>

#include "wizard/registry.h"

namespace {

using namespace modRegistry;

struct FakeValue {
  uint32_t Type;
  std::string Data;
  // Reported length when it differs from the data written.
  std::optional<uint32_t> ReportedLength;
};

// A registry of plain containers that records every call.
class FakeRegistry : public RegistryApi {
 public:
  std::map<std::string, std::map<std::string, FakeValue>> Keys;
  std::optional<int32_t> OpenFailure;
  std::vector<std::string> Calls;
  bool BufferWasZeroed = true;
  uint32_t Capacity = 0;

  int32_t OpenKey(uint32_t root, const std::string& subKey, uint32_t options, uint32_t access,
                  KeyHandle& key) override {
    char call[160];
    std::snprintf(call, sizeof call, "open %08X %s options %u access %05X", static_cast<unsigned>(root),
                  subKey.c_str(), static_cast<unsigned>(options), static_cast<unsigned>(access));
    Calls.push_back(call);
    if (OpenFailure) return *OpenFailure;
    auto found = Keys.find(subKey);
    if (found == Keys.end()) return kErrorFileNotFound;
    opened_ = &found->second;
    key = 0x1234;
    return kErrorSuccess;
  }

  int32_t QueryValue(KeyHandle key, const std::string& valueName, uint32_t& type, uint8_t* data,
                     uint32_t& length) override {
    Calls.push_back("query " + std::to_string(key) + " " + valueName);
    Capacity = length;
    for (uint32_t i = 0; i < length; ++i) BufferWasZeroed = BufferWasZeroed && data[i] == 0;
    auto found = opened_->find(valueName);
    if (found == opened_->end()) return kErrorFileNotFound;
    const FakeValue& value = found->second;
    uint32_t reported = value.ReportedLength.value_or(static_cast<uint32_t>(value.Data.size()));
    if (value.Data.size() > length) {
      length = reported;
      return kErrorMoreData;
    }
    std::memcpy(data, value.Data.data(), value.Data.size());
    type = value.Type;
    length = reported;
    return kErrorSuccess;
  }

  int32_t CloseKey(KeyHandle key) override {
    Calls.push_back("close " + std::to_string(key));
    return key == 0 ? kErrorInvalidHandle : kErrorSuccess;
  }

 private:
  std::map<std::string, FakeValue>* opened_ = nullptr;
};

const char* const kKey = "SOFTWARE\\Brackmoor\\Gravelon";

class WizardReadRegistryValue : public ::testing::Test {
 protected:
  // Reads value from kKey holding it; out starts as "previous".
  bool Read(const FakeValue& value, std::string& out) {
    fake.Keys[kKey]["DestinationDir"] = value;
    out = "previous";
    return ReadRegistryValue(fake, kHkeyLocalMachine, kKey, "DestinationDir", out);
  }
  FakeRegistry fake;
};

TEST_F(WizardReadRegistryValue, StringValueOpensReadOnlyAndCloses) {
  std::string out;
  EXPECT_TRUE(Read({kRegSz, std::string("C:\\Games\\Gravelon\\\0", 19), std::nullopt}, out));
  EXPECT_EQ(out, "C:\\Games\\Gravelon\\");
  EXPECT_EQ(fake.Calls, (std::vector<std::string>{
                            "open 80000002 SOFTWARE\\Brackmoor\\Gravelon options 0 access 20019",
                            "query 4660 DestinationDir",
                            "close 4660",
                        }));
  EXPECT_EQ(fake.Capacity, 1024u);
  EXPECT_TRUE(fake.BufferWasZeroed);
}

TEST_F(WizardReadRegistryValue, TerminatingZeroRule) {
  const struct {
    std::string Data;
    std::optional<uint32_t> Reported;
    std::string Expected;
  } cases[] = {
      {std::string("abc\0", 4), std::nullopt, "abc"},                  // zero at the length: dropped
      {"abc", std::nullopt, "abc"},                                    // no zero: kept whole
      {"ab", 3, "ab"},                                                 // the zeroed buffer supplies the zero
      {std::string("a\0c", 3), std::nullopt, std::string("a\0c", 3)},  // only the last one counts
      {std::string("\0", 1), std::nullopt, ""},
      {std::string(1023, 'x') + '\0', std::nullopt, std::string(1023, 'x')},
      {std::string(1024, 'x'), std::nullopt, std::string(1024, 'x')},  // exactly the buffer
  };
  for (const auto& c : cases) {
    std::string out;
    EXPECT_TRUE(Read({kRegSz, c.Data, c.Reported}, out)) << c.Data.size();
    EXPECT_EQ(out, c.Expected) << c.Data.size();
  }
}

TEST_F(WizardReadRegistryValue, DwordAsDecimalText) {
  const struct {
    std::string Bytes;
    const char* Expected;
  } cases[] = {
      {std::string("\x0A\x00\x00\x00", 4), "10"},
      {std::string("\xFF\xFF\xFF\xFF", 4), "-1"},
      {std::string("\x78\x56\x34\x12", 4), "305419896"},
      {std::string("\x00\x00\x00\x80", 4), "-2147483648"},
      {std::string("\x0A\x01", 2), "266"},
  };
  for (const auto& c : cases) {
    std::string out;
    EXPECT_TRUE(Read({kRegDword, c.Bytes, std::nullopt}, out)) << c.Expected;
    EXPECT_EQ(out, c.Expected);
  }
}

TEST_F(WizardReadRegistryValue, OtherTypesGiveEmptyText) {
  for (uint32_t type : {kRegExpandSz, kRegNone}) {
    std::string out;
    EXPECT_TRUE(Read({type, std::string("%X%\0", 4), std::nullopt}, out)) << type;
    EXPECT_EQ(out, "") << type;
  }
}

TEST_F(WizardReadRegistryValue, MalformedKeyPathOpensNothing) {
  std::string out = "previous";
  EXPECT_FALSE(ReadRegistryValue(fake, kHkeyLocalMachine, "SOFTWARE\\Brackmoor\\", "DestinationDir", out));
  EXPECT_EQ(out, "previous");
  EXPECT_TRUE(fake.Calls.empty());
}

TEST_F(WizardReadRegistryValue, FailedOpenStillClosesTheEmptyHandle) {
  for (int32_t status : {kErrorFileNotFound, 5 /* access denied */}) {
    fake.Calls.clear();
    fake.OpenFailure = status;
    std::string out;
    EXPECT_FALSE(Read({kRegSz, "C:\\x\\", std::nullopt}, out));
    EXPECT_EQ(out, "previous");
    ASSERT_EQ(fake.Calls.size(), 2u);
    EXPECT_EQ(fake.Calls[1], "close 0");
  }
}

// A missing value, one over the buffer or one of length zero: the text
// stays, and the opened key is closed.
TEST_F(WizardReadRegistryValue, FailedQueriesLeaveTheText) {
  std::string out = "previous";
  fake.Keys[kKey]["Other"] = {kRegSz, "x", std::nullopt};
  EXPECT_FALSE(ReadRegistryValue(fake, kHkeyLocalMachine, kKey, "DestinationDir", out));
  EXPECT_EQ(out, "previous");
  EXPECT_EQ(fake.Calls.back(), "close 4660");
  for (const FakeValue& value :
       {FakeValue{kRegSz, std::string(1024, 'x') + '\0', std::nullopt}, FakeValue{kRegSz, "", std::nullopt},
        FakeValue{kRegDword, "", std::nullopt}}) {
    fake.Calls.clear();
    EXPECT_FALSE(Read(value, out)) << value.Data.size();
    EXPECT_EQ(out, "previous");
    EXPECT_EQ(fake.Calls.back(), "close 4660");
  }
}

TEST(WizardIsValidKeyName, Shapes) {
  const struct {
    const char* Path;
    bool Valid;
  } cases[] = {
      {"SOFTWARE\\Brackmoor\\Gravelon", true},
      {"", true},
      {"\\SOFTWARE", false},
      {"SOFTWARE\\", false},
      {"\\", false},
      {"SOFTWARE\\\\Brackmoor", false},
      {"SOFTWARE/Brackmoor", true},  // only backslashes separate keys
  };
  for (const auto& c : cases) EXPECT_EQ(IsValidKeyName(c.Path), c.Valid) << c.Path;
}

}  // namespace
