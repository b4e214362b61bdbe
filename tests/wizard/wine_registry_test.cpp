#include <gtest/gtest.h>

#include "common/temp_dir.h"
#include "wizard/registry.h"
#include "wizard/wine_registry.h"

namespace {

using namespace modRegistry;
using testing_support::TempDir;
using testing_support::WriteFile;

// As Wine writes the file (taken from a 64-bit prefix after "reg add").
const char kSystemReg[] =
    "WINE REGISTRY Version 2\n"
    ";; All keys relative to REGISTRY\\\\Machine\n"
    "\n"
    "#arch=win64\n"
    "\n"
    "[Software\\\\Brackmoor\\\\Gravelon] 1796594396\n"
    "#time=1dd85cd212f9678\n"
    "@=\"def\"\n"
    "\"DestinationDir\"=\"D:\\\\Native\\\\\"\n"
    "\"NativeOnly\"=\"C:\\\\Native only\"\n"
    "\"Tab\"=\"a\\tb\\x00f31\"\n"
    "\n"
    "[Software\\\\Classes\\\\.chm] 1796594335\n"
    "#time=1dd85ccfd28238a\n"
    "@=\"chm.file\"\n"
    "\n"
    "[Software\\\\Wow6432Node\\\\Brackmoor\\\\Gravelon] 1796594384\n"
    "#time=1dd85cd1a5028c2\n"
    "\"Bin\"=hex:00,01,02,03,04,05,06,07,08,09,0a,0b,0c,0d,0e,0f,10,11,12,13,14,15,16,\\\n"
    "  17,18,19,1a,1b,1c,1d,1e,1f,20,21,22,23,24,25\n"
    "\"Count\"=dword:0000000a\n"
    "\"DestinationDir\"=\"C:\\\\Games\\\\Gravelon \\x141 \\\"q\\\"\\\\\"\n"
    "\"Exp\"=str(2):\"%SystemRoot%\\\\x\"\n"
    "\"Multi\"=str(7):\"a\\0bc\\0\"\n"
    "\"Neg\"=dword:ffffffff\n"
    "\n"
    "[Software\\\\Wow6432Node\\\\Classes] 1796594320\n"
    "#time=1dd85ccf3e960a4\n"
    "#link\n"
    "\"SymbolicLinkValue\"=hex(6):5c,00,52,00\n";

std::string Utf16(const std::u16string& text) {
  std::string bytes;
  for (char16_t unit : text) {
    bytes += static_cast<char>(unit & 0xFF);
    bytes += static_cast<char>(unit >> 8);
  }
  return bytes;
}

const WineRegValue* ValueNamed(const std::vector<WineRegValue>& values, const std::string& name) {
  for (const WineRegValue& value : values) {
    if (value.Name == name) return &value;
  }
  return nullptr;
}

TEST(WizardWineRegistryFile, ValuesOfEveryForm) {
  auto key = FindWineRegKey(kSystemReg, "Software\\Wow6432Node\\Brackmoor\\Gravelon");
  ASSERT_TRUE(key.has_value());
  std::vector<std::string> names;
  for (const WineRegValue& value : *key) names.push_back(value.Name);
  EXPECT_EQ(names, (std::vector<std::string>{"Bin", "Count", "DestinationDir", "Exp", "Multi", "Neg"}));

  std::string bin;
  for (int i = 0; i <= 0x25; ++i) bin += static_cast<char>(i);
  EXPECT_EQ(ValueNamed(*key, "Bin")->Type, kRegBinary);
  EXPECT_EQ(ValueNamed(*key, "Bin")->Data, bin);
  EXPECT_EQ(ValueNamed(*key, "Count")->Type, kRegDword);
  EXPECT_EQ(ValueNamed(*key, "Count")->Data, std::string("\x0A\x00\x00\x00", 4));
  EXPECT_EQ(ValueNamed(*key, "Neg")->Data, std::string("\xFF\xFF\xFF\xFF", 4));
  EXPECT_EQ(ValueNamed(*key, "DestinationDir")->Type, kRegSz);
  EXPECT_EQ(ValueNamed(*key, "DestinationDir")->Data,
            Utf16(u"C:\\Games\\Gravelon \u0141 \"q\"\\" + std::u16string(1, 0)));
  EXPECT_EQ(ValueNamed(*key, "Exp")->Type, kRegExpandSz);
  EXPECT_EQ(ValueNamed(*key, "Exp")->Data, Utf16(u"%SystemRoot%\\x" + std::u16string(1, 0)));
  EXPECT_EQ(ValueNamed(*key, "Multi")->Type, kRegMultiSz);
  EXPECT_EQ(ValueNamed(*key, "Multi")->Data, Utf16(std::u16string(u"a\0bc\0\0", 6)));
}

TEST(WizardWineRegistryFile, DefaultValueAndEscapes) {
  auto key = FindWineRegKey(kSystemReg, "Software\\Brackmoor\\Gravelon");
  ASSERT_TRUE(key.has_value());
  EXPECT_EQ(ValueNamed(*key, "")->Data, Utf16(std::u16string(u"def\0", 4)));
  // "\x00f3" takes four digits when a hex digit follows.
  EXPECT_EQ(ValueNamed(*key, "Tab")->Data, Utf16(std::u16string(u"a\tb\u00f31\0", 6)));
}

TEST(WizardWineRegistryFile, KeyNamesMatchWithoutCase) {
  EXPECT_TRUE(FindWineRegKey(kSystemReg, "SOFTWARE\\wow6432node\\BRACKMOOR\\gravelon").has_value());
  EXPECT_FALSE(FindWineRegKey(kSystemReg, "Software\\Brackmoor").has_value());
  EXPECT_FALSE(FindWineRegKey(kSystemReg, "Software\\Brackmoor\\Gravelon\\Sub").has_value());
  EXPECT_FALSE(FindWineRegKey("", "Software").has_value());
}

TEST(WizardWineRegistryFile, EscapeForms) {
  const struct {
    const char* Quoted;  // between the quotes of "v"="..."
    std::u16string Expected;
  } cases[] = {
      {"\\x141 x", u"\u0141 x"},
      {"\\x0141a", u"\u0141a"},
      {"\\xd83d\\xde00", u"\U0001F600"},
      {"\\a\\b\\e\\f\\n\\r\\t\\v", u"\a\b\x1b\f\n\r\t\v"},
      {"\\101\\0", std::u16string(u"A\0", 2)},
      {"\\1234", u"S4"},
      {"\\q", u"q"},
      {"\xE9", u"\u00e9"},  // a byte of its own
  };
  for (const auto& c : cases) {
    std::string file = std::string("[K] 1\n\"v\"=\"") + c.Quoted + "\"\n";
    auto key = FindWineRegKey(file, "K");
    ASSERT_TRUE(key.has_value() && key->size() == 1) << c.Quoted;
    EXPECT_EQ((*key)[0].Data, Utf16(c.Expected + std::u16string(1, 0))) << c.Quoted;
  }
}

TEST(WizardWineRegistryFile, OtherForms) {
  const char file[] =
      "[Software\\\\A\\]B] 1\r\n"
      "\"Str\"=str:\"x\"\r\n"
      "\"Hex2\"=hex(2):41,00,00,00\r\n"
      "\"Wrapped\"=hex(b):01,02,\\\r\n"
      "  03,04,\\\r\n"
      "  05,06,07,08\r\n"
      "\"Broken\"=unknown:12\r\n"
      "\"Empty\"=hex:\r\n"
      "\"Short\"=dword:1\r\n"
      "\"Quote\\\"Name\"=\"n\"\r\n"
      "\r\n"
      "[Software\\\\Empty] 1\r\n";
  auto key = FindWineRegKey(file, "Software\\A]B");
  ASSERT_TRUE(key.has_value());
  std::vector<std::string> names;
  for (const WineRegValue& value : *key) names.push_back(value.Name);
  EXPECT_EQ(names, (std::vector<std::string>{"Str", "Hex2", "Wrapped", "Empty", "Short", "Quote\"Name"}));
  EXPECT_EQ(ValueNamed(*key, "Str")->Type, kRegSz);
  EXPECT_EQ(ValueNamed(*key, "Str")->Data, Utf16(std::u16string(u"x\0", 2)));
  EXPECT_EQ(ValueNamed(*key, "Hex2")->Type, kRegExpandSz);
  EXPECT_EQ(ValueNamed(*key, "Hex2")->Data, std::string("A\0\0\0", 4));
  EXPECT_EQ(ValueNamed(*key, "Wrapped")->Type, 11u);
  EXPECT_EQ(ValueNamed(*key, "Wrapped")->Data, "\x01\x02\x03\x04\x05\x06\x07\x08");
  EXPECT_EQ(ValueNamed(*key, "Empty")->Data, "");
  EXPECT_EQ(ValueNamed(*key, "Short")->Data, std::string("\x01\x00\x00\x00", 4));

  auto empty = FindWineRegKey(file, "Software\\Empty");
  ASSERT_TRUE(empty.has_value());
  EXPECT_TRUE(empty->empty());
}

TEST(WizardWineRegistryFile, ViewsOfAKeyPath) {
  EXPECT_EQ(WineKeyViews("SOFTWARE\\Brackmoor\\Gravelon"),
            (std::vector<std::string>{"Software\\Wow6432Node\\Brackmoor\\Gravelon",
                                      "SOFTWARE\\Brackmoor\\Gravelon"}));
  EXPECT_EQ(WineKeyViews("Software\\Wow6432Node\\X"), (std::vector<std::string>{"Software\\Wow6432Node\\X"}));
  EXPECT_EQ(WineKeyViews("System\\X"), (std::vector<std::string>{"System\\X"}));
  EXPECT_EQ(WineKeyViews("SoftwareX"), (std::vector<std::string>{"SoftwareX"}));
}

TEST(WizardWineRegistryFile, Utf16ToUtf8) {
  EXPECT_EQ(Utf16LeToUtf8(Utf16(u"A\u0141\u20AC")), "A\xC5\x81\xE2\x82\xAC");
  EXPECT_EQ(Utf16LeToUtf8(Utf16(u"\U0001F600")), "\xF0\x9F\x98\x80");
  EXPECT_EQ(Utf16LeToUtf8(Utf16(std::u16string(1, 0xD800)) + "x"), "\xEF\xBF\xBD");  // lone half, odd byte
  EXPECT_EQ(Utf16LeToUtf8(Utf16(std::u16string(u"a\0", 2))), std::string("a\0", 2));
}

std::string FakeDriveRoot(const std::string& prefix, char drive) {
  if (drive == 'c') return prefix + "/drive_c";
  if (drive == 'z') return "/";
  if (drive == 'e') return "/media/cd/";
  return "";
}

TEST(WizardWineRegistryFile, DrivePathsBecomeNativePaths) {
  const struct {
    const char* Path;
    const char* Expected;
  } cases[] = {
      {"C:\\Games\\Gravelon\\", "/p/drive_c/Games/Gravelon/"},
      {"c:\\Games\\", "/p/drive_c/Games/"},
      {"C:", "/p/drive_c"},
      {"Z:\\home\\u\\Gravelon\\", "/home/u/Gravelon/"},
      {"E:\\Setup\\", "/media/cd/Setup/"},
      {"C:relative", "C:relative"},
      {"Q:\\unknown\\", "Q:\\unknown\\"},
      {"1:\\x", "1:\\x"},
  };
  for (const auto& c : cases) EXPECT_EQ(MapDosPath(c.Path, "/p", FakeDriveRoot), c.Expected) << c.Path;
  EXPECT_EQ(MapDosPath("C:\\x", "/p", nullptr), "C:\\x");
}

class WizardWineRegistryApi : public ::testing::Test {
 protected:
  std::string Prefix(const std::string& name, const std::string& systemReg) {
    std::string prefix = (temp / name).string();
    WriteFile(temp / name / "system.reg", systemReg);
    return prefix;
  }
  static std::string Read(WineRegistryApi& api, const std::string& valueName, bool* ok = nullptr) {
    std::string out = "untouched";
    bool result = ReadRegistryValue(api, kHkeyLocalMachine, "SOFTWARE\\Brackmoor\\Gravelon", valueName, out);
    if (ok) *ok = result;
    return out;
  }
  TempDir temp;
};

TEST_F(WizardWineRegistryApi, PrefersThe32BitView) {
  std::string prefix = Prefix("pfx", kSystemReg);
  WineRegistryApi api({prefix}, FakeDriveRoot);
  EXPECT_EQ(Read(api, "DestinationDir"), prefix + "/drive_c/Games/Gravelon \xC5\x81 \"q\"/");
  EXPECT_EQ(Read(api, "destinationdir"), prefix + "/drive_c/Games/Gravelon \xC5\x81 \"q\"/");
  EXPECT_EQ(Read(api, "Count"), "10");
  EXPECT_EQ(Read(api, "Neg"), "-1");
  EXPECT_EQ(Read(api, "Exp"), "");
  // A value only the native view holds is found there.
  EXPECT_EQ(Read(api, "NativeOnly"), prefix + "/drive_c/Native only");
  bool ok = true;
  EXPECT_EQ(Read(api, "Missing", &ok), "untouched");
  EXPECT_FALSE(ok);
}

TEST_F(WizardWineRegistryApi, FirstPrefixHoldingTheValueWins) {
  std::string empty = (temp / "none").string();  // no system.reg at all
  std::string other = Prefix("other", "[Software\\\\Other] 1\n\"DestinationDir\"=\"C:\\\\x\\\\\"\n");
  std::string keyOnly = Prefix("keyonly", "[Software\\\\Brackmoor\\\\Gravelon] 1\n\"Else\"=\"y\"\n");
  std::string game = Prefix("game", kSystemReg);
  std::string later =
      Prefix("later", "[Software\\\\Brackmoor\\\\Gravelon] 1\n\"DestinationDir\"=\"later\"\n");
  WineRegistryApi api({empty, other, keyOnly, game, later}, FakeDriveRoot);
  EXPECT_EQ(Read(api, "DestinationDir"), game + "/drive_c/Games/Gravelon \xC5\x81 \"q\"/");
  EXPECT_EQ(Read(api, "Else"), "y");

  WineRegistryApi none({empty, other}, FakeDriveRoot);
  bool ok = true;
  EXPECT_EQ(Read(none, "DestinationDir", &ok), "untouched");
  EXPECT_FALSE(ok);
}

TEST_F(WizardWineRegistryApi, SeamContract) {
  std::string prefix = Prefix("pfx", kSystemReg);
  WineRegistryApi api({prefix}, FakeDriveRoot);
  KeyHandle key = 99;
  EXPECT_EQ(api.OpenKey(0x80000001, "SOFTWARE\\Brackmoor\\Gravelon", 0, kKeyRead, key), kErrorFileNotFound);
  EXPECT_EQ(key, 0u);
  EXPECT_EQ(api.OpenKey(kHkeyLocalMachine, "SOFTWARE\\Nothing", 0, kKeyRead, key), kErrorFileNotFound);
  ASSERT_EQ(api.OpenKey(kHkeyLocalMachine, "SOFTWARE\\Brackmoor\\Gravelon", 0, kKeyRead, key), kErrorSuccess);
  EXPECT_NE(key, 0u);

  uint8_t buffer[8] = {};
  uint32_t type = 0;
  uint32_t length = sizeof buffer;
  EXPECT_EQ(api.QueryValue(key, "Bin", type, buffer, length), kErrorMoreData);
  EXPECT_EQ(length, 38u);
  length = sizeof buffer;
  ASSERT_EQ(api.QueryValue(key, "Count", type, buffer, length), kErrorSuccess);
  EXPECT_EQ(type, kRegDword);
  EXPECT_EQ(length, 4u);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(buffer), 4), std::string("\x0A\x00\x00\x00", 4));
  length = sizeof buffer;
  ASSERT_EQ(api.QueryValue(key, "Multi", type, buffer, length), kErrorSuccess);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(buffer), length), std::string("a\0bc\0\0", 6));
  EXPECT_EQ(api.QueryValue(key, "Nope", type, buffer, length), kErrorFileNotFound);

  EXPECT_EQ(api.CloseKey(key), kErrorSuccess);
  EXPECT_EQ(api.CloseKey(key), kErrorInvalidHandle);
  EXPECT_EQ(api.QueryValue(key, "Count", type, buffer, length), kErrorInvalidHandle);
}

// A 32-bit prefix has only the native view; no root known for D: keeps the
// text as stored; a value longer than the buffer is not read.
TEST_F(WizardWineRegistryApi, NativeViewOfA32BitPrefixAndLongValues) {
  std::string prefix = Prefix("pfx32",
                              "WINE REGISTRY Version 2\n#arch=win32\n\n"
                              "[Software\\\\Brackmoor\\\\Gravelon] 1\n"
                              "\"DestinationDir\"=\"D:\\\\Gravelon\\\\\"\n\"Long\"=\"" +
                                  std::string(1100, 'x') + "\"\n");
  WineRegistryApi api({prefix}, FakeDriveRoot);
  EXPECT_EQ(Read(api, "DestinationDir"), "D:\\Gravelon\\");
  bool ok = true;
  EXPECT_EQ(Read(api, "Long", &ok), "untouched");
  EXPECT_FALSE(ok);
}

}  // namespace
