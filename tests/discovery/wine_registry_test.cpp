#include <gtest/gtest.h>

#include <filesystem>
#include <tuple>

#include "common/temp_dir.h"
#include "discovery/game_folder.h"
#include "discovery/registry.h"
#include "discovery/wine_registry.h"

namespace {

using namespace modRegistry;
using namespace testing_support;

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
    "\"NativeOnly\"=\"C:\"\n"
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

std::string Utf16(const std::u16string& text) {  // the hosts are all little-endian
  return std::string(reinterpret_cast<const char*>(text.data()), 2 * text.size());
}

// Every value form Wine writes, and a few it might: CR LF line ends, an
// escaped "]" in a key name before any separator, wrapped hex, short
// dwords, a type it does not know and a string without its quote (both
// skipped), an escaped quote in a name, a key without values.
const char kOtherForms[] =
    "[A\\]B\\\\Software] 1\r\n"
    "\"Str\"=str:\"x\"\r\n"
    "\"Hex2\"=hex(2):41,00,00,00\r\n"
    "\"Wrapped\"=hex(b):01,02,\\\r\n"
    "  03,04,\\\r\n"
    "  05,06,07,08\r\n"
    "\"Broken\"=unknown:12\r\n"
    "\"Unquoted\"=str:x\"y\"\r\n"
    "\"Empty\"=hex:\r\n"
    "\"Short\"=dword:1\r\n"
    "\"Quote\\\"Name\"=\"n\"\r\n"
    "\r\n"
    "[Software\\\\Empty] 1\r\n";

// Each key's values in file order.
TEST(DiscoveryWineRegistryFile, ValuesOfEveryForm) {
  std::string bin;
  for (int i = 0; i <= 0x25; ++i) bin += static_cast<char>(i);
  auto sz = [](const std::u16string& text) { return Utf16(text + std::u16string(1, 0)); };
  const std::tuple<const char*, const char*, std::vector<WineRegValue>> keys[] = {
      {kSystemReg,
       "Software\\Wow6432Node\\Brackmoor\\Gravelon",
       {{"Bin", kRegBinary, bin},
        {"Count", kRegDword, std::string("\x0A\x00\x00\x00", 4)},
        {"DestinationDir", kRegSz, sz(u"C:\\Games\\Gravelon \u0141 \"q\"\\")},
        {"Exp", kRegExpandSz, sz(u"%SystemRoot%\\x")},
        {"Multi", kRegMultiSz, Utf16(std::u16string(u"a\0bc\0\0", 6))},
        {"Neg", kRegDword, "\xFF\xFF\xFF\xFF"}}},
      {kOtherForms,
       "A]B\\Software",
       {{"Str", kRegSz, sz(u"x")},
        {"Hex2", kRegExpandSz, std::string("A\0\0\0", 4)},
        {"Wrapped", 11, "\x01\x02\x03\x04\x05\x06\x07\x08"},
        {"Empty", kRegBinary, ""},
        {"Short", kRegDword, std::string("\x01\x00\x00\x00", 4)},
        {"Quote\"Name", kRegSz, sz(u"n")}}},
      {kOtherForms, "Software\\Empty", {}},
  };
  for (const auto& [file, keyPath, expected] : keys) {
    std::vector<WineRegValue> values = FindWineRegKey(file, keyPath).value();
    ASSERT_EQ(values.size(), expected.size()) << keyPath;
    for (size_t i = 0; i < values.size(); ++i) {
      EXPECT_EQ(values[i].Name, expected[i].Name) << keyPath;
      EXPECT_EQ(values[i].Type, expected[i].Type) << keyPath << " " << values[i].Name;
      EXPECT_EQ(values[i].Data, expected[i].Data) << keyPath << " " << values[i].Name;
    }
  }
}

// Between the quotes of "v"="...", and the value it gives; "\xE9" is a
// byte of its own.
TEST(DiscoveryWineRegistryFile, EscapeForms) {
  const std::pair<const char*, std::u16string> cases[] = {
      {"\\x141 x", u"\u0141 x"},
      {"\\x0141a", u"\u0141a"},
      {"\\xD83D\\xde00", u"\U0001F600"},
      {"\\a\\b\\e\\f\\n\\r\\t\\v", u"\a\b\x1b\f\n\r\t\v"},
      {"\\101\\0", std::u16string(u"A\0", 2)},
      {"\\1234", u"S4"},
      {"\\q", u"q"},
      {"\xE9", u"\u00e9"},
  };
  for (const auto& [quoted, expected] : cases) {
    std::vector<WineRegValue> values =
        FindWineRegKey(std::string("[K] 1\n\"v\"=\"") + quoted + "\"\n", "K").value();
    ASSERT_EQ(values.size(), 1u) << quoted;
    EXPECT_EQ(values[0].Data, Utf16(expected + std::u16string(1, 0))) << quoted;
  }
}

TEST(DiscoveryWineRegistryFile, Utf16ToUtf8) {
  EXPECT_EQ(Utf16LeToUtf8(Utf16(u"A\u0141\u20AC")), "A\xC5\x81\xE2\x82\xAC");
  EXPECT_EQ(Utf16LeToUtf8(Utf16(u"\U0001F600")), "\xF0\x9F\x98\x80");
  EXPECT_EQ(Utf16LeToUtf8(Utf16(u"\U00010000")), "\xF0\x90\x80\x80");                // the lowest pair
  EXPECT_EQ(Utf16LeToUtf8(Utf16(std::u16string(1, 0xD800)) + "x"), "\xEF\xBF\xBD");  // lone half, odd byte
  EXPECT_EQ(Utf16LeToUtf8(Utf16(std::u16string(u"a\0", 2))), std::string("a\0", 2));
}

// The search before a parse finds the key's last name as Wine writes it, in
// any letter case, at every place in the file, also across the 64 KiB pieces
// it is searched in; only a file without it is passed over, and a name Wine
// would escape is not searched for. Several keys are searched for at once.
TEST(DiscoveryWineRegistryFile, KeySearchBeforeParsing) {
  const char* key = "SOFTWARE\\Brackmoor\\Gravelon";
  for (size_t pad = 0; pad < (64 << 10) + 40; pad += pad == 70 ? (64 << 10) - 110 : 1) {
    const std::string filler(pad, 'n');
    EXPECT_TRUE(MayHoldKey(filler + "[Software\\\\Wow6432Node\\\\Brackmoor\\\\GRAVELON] 1\n", key)) << pad;
    EXPECT_TRUE(MayHoldKey(filler + "[Software\\\\Brackmoor\\\\gravelon]", key)) << pad;
    EXPECT_FALSE(MayHoldKey(filler + "[Brackmoor\\\\Gravelo] [Gravelon] \\Gravelo", key)) << pad;
  }
  EXPECT_TRUE(MayHoldKey("[TOP] 1", "top"));
  EXPECT_TRUE(MayHoldKey("[A\\\\B\\]C] 1", "A\\B]C"));
  EXPECT_TRUE(MayHoldKey("", "A\\\xC5\x81"));
  EXPECT_EQ(
      MayHoldKeys("[Software\\\\GOG.com\\\\Games\\\\1] 1", {key, "Software\\GOG.com\\Games", "x\\\xC5\x81"}),
      (std::vector<bool>{false, true, true}));
}

std::string FakeDriveRoot(const std::string& prefix, char drive) {
  if (drive == 'c') return prefix + "/drive_c";
  if (drive == 'z') return "/";  // its slash goes
  return "";
}

TEST(DiscoveryWineRegistryFile, DrivePathsBecomeNativePaths) {
  const std::pair<const char*, const char*> cases[] = {
      {"C:\\Games\\Gravelon\\", "/p/drive_c/Games/Gravelon/"},
      {"C:", "/p/drive_c"},
      {"Z:\\home\\u\\Gravelon\\", "/home/u/Gravelon/"},
  };
  for (const auto& [path, expected] : cases)
    EXPECT_EQ(MapDosPath(path, "/p", FakeDriveRoot), expected) << path;
  for (const char* kept : {"C:relative", "Q:\\unknown\\", "1:\\x", "Cx"})
    EXPECT_EQ(MapDosPath(kept, "/p", FakeDriveRoot), kept);
  EXPECT_EQ(MapDosPath("C:\\x", "/p", nullptr), "C:\\x");
}

class DiscoveryWineRegistryApi : public ::testing::Test {
 protected:
  std::string Prefix(const std::string& name, const std::string& systemReg) {
    WriteFile(temp / name / "system.reg", systemReg);
    return (temp / name).string();
  }
  // The value as the wizard reads it; "untouched" when not found.
  static std::string Read(WineRegistryApi& api, const std::string& valueName) {
    std::string out = "untouched";
    ReadRegistryValue(api, kHkeyLocalMachine, "SOFTWARE\\Brackmoor\\Gravelon", valueName, out);
    return out;
  }
  TempDir temp;
};

// Prefixes in order, each with the 32-bit view before the native one; value
// names without case.
TEST_F(DiscoveryWineRegistryApi, FirstPrefixAndViewHoldingTheValueWins) {
  std::string empty = (temp / "none").string();  // no system.reg at all
  std::string other = Prefix("other", "[Software\\\\Other] 1\n\"DestinationDir\"=\"C:\\\\x\\\\\"\n");
  std::string keyOnly = Prefix("keyonly", "[Software\\\\Brackmoor\\\\Gravelon] 1\n\"Else\"=\"y\"\n");
  std::string game = Prefix("game", kSystemReg);
  std::string later =
      Prefix("later", "[Software\\\\Brackmoor\\\\Gravelon] 1\n\"DestinationDir\"=\"later\"\n");
  WineRegistryApi api({empty, other, keyOnly, game, later}, FakeDriveRoot);
  EXPECT_EQ(Read(api, "destinationdir"), game + "/drive_c/Games/Gravelon \xC5\x81 \"q\"/");
  EXPECT_EQ(api.ValueSource(), game);  // where the wizard says the folder came from
  EXPECT_EQ(Read(api, "Else"), "y");
  EXPECT_EQ(Read(api, "Count"), "10");
  EXPECT_EQ(Read(api, "NativeOnly"), game + "/drive_c");
  EXPECT_EQ(Read(api, ""), "def");  // the key's default value, "@"
  EXPECT_EQ(Read(api, "Missing"), "untouched");
}

// A registry over the size cap is passed over unread: a sparse 40 GiB file
// must not be read whole, nor end the program.
TEST_F(DiscoveryWineRegistryApi, HugeRegistryIsSkipped) {
  const std::string key = "[Software\\\\Brackmoor\\\\Gravelon] 1\n\"DestinationDir\"=";
  const std::string huge = Prefix("huge", key + "\"huge\"\n"), game = Prefix("game", key + "\"game\"\n");
  std::filesystem::resize_file(temp / "huge/system.reg", std::uintmax_t{40} << 30);
  WineRegistryApi api({huge, game}, FakeDriveRoot);
  EXPECT_EQ(Read(api, "DestinationDir"), "game");
}

TEST_F(DiscoveryWineRegistryApi, SeamContract) {
  std::string prefix = Prefix("pfx", kSystemReg);
  WineRegistryApi api({prefix}, FakeDriveRoot);
  KeyHandle key = 0;
  ASSERT_EQ(api.OpenKey(kHkeyLocalMachine, "SOFTWARE\\Brackmoor\\Gravelon", 0, kKeyRead, key), kErrorSuccess);
  EXPECT_NE(key, 0u);

  uint8_t buffer[8] = {};
  uint32_t type = 0, length = sizeof buffer;
  EXPECT_EQ(api.QueryValue(key, "Bin", type, buffer, length), kErrorMoreData);
  EXPECT_EQ(length, 38u);

  EXPECT_EQ(api.CloseKey(key), kErrorSuccess);
  EXPECT_EQ(api.CloseKey(key), kErrorInvalidHandle);
  EXPECT_EQ(api.QueryValue(key, "Count", type, buffer, length), kErrorInvalidHandle);
}

// GOG's setup records each game as a subkey and nothing at Games itself, so
// Wine writes no section for that: the games of every prefix, each once in
// any letter case, names escaped or not, even those that only hold keys; a
// name that only starts alike is another key.
TEST_F(DiscoveryWineRegistryApi, GogGamesAsSubKeysOfEveryPrefix) {
  const std::string first = Prefix(
      "first",
      "[Software\\\\Wow6432Node\\\\GOG.com\\\\GamesX\\\\1] 1\n\"path\"=\"C:\\\\x\"\n"
      "[Software\\\\Wow6432Node\\\\GOG.com\\\\Games\\\\1207658930] 1\n\"path\"=\"C:\\\\GOG Games\\\\G\"\n"
      "[Software\\\\Wow6432Node\\\\GOG.com\\\\Games\\\\\\x141\\\\Sub] 1\n");
  const std::string second =
      Prefix("second",
             "[Software\\\\GOG.com\\\\games\\\\1207658930] 1\n\"path\"=\"Z:\\\\later\"\n"
             "[Software\\\\GOG.com\\\\Games\\\\\\x141] 1\n\"path\"=\"Z:\\\\gog\"\n");
  // Read after the game's key, as the installer reads them.
  WineRegistryApi api({(temp / "none").string(), first, second}, FakeDriveRoot, {discovery::kGogGamesKey});
  EXPECT_EQ(Read(api, "DestinationDir"), "untouched");
  EXPECT_EQ(discovery::GogGameFolders(api),
            (std::vector<discovery::StoreCopy>{{first + "/drive_c/GOG Games/G", "GOG"}, {"/gog", "GOG"}}));
  KeyHandle key = 0;
  std::string name;
  ASSERT_EQ(api.OpenKey(kHkeyLocalMachine, "Software\\GOG.com\\Games", 0, kKeyRead, key), kErrorSuccess);
  EXPECT_EQ(api.EnumKey(key, 1, name), kErrorSuccess);
  EXPECT_EQ(name, "\xC5\x81");
  EXPECT_EQ(api.EnumKey(key, 2, name), kErrorNoMoreItems);
  api.CloseKey(key);
  EXPECT_EQ(api.EnumKey(key, 0, name), kErrorInvalidHandle);
}

}  // namespace
