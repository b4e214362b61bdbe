#include <gtest/gtest.h>

#include <filesystem>

#include "common/scoped_env.h"
#include "common/temp_dir.h"
#include "discovery/launcher_files.h"
#include "discovery/wine_prefixes.h"
#include "discovery/wine_registry.h"

namespace {

namespace fs = std::filesystem;
using namespace discovery;
using namespace testing_support;

// A prefix with a registry and a c: drive linked as Wine links it.
fs::path MakePrefix(const fs::path& prefix) {
  WriteFile(prefix / "system.reg", "");
  fs::create_directories(prefix / "drive_c");
  fs::create_directories(prefix / "dosdevices");
  fs::create_symlink("../drive_c", prefix / "dosdevices" / "c:");
  return prefix;
}

class DiscoveryWinePrefixes : public ::testing::Test {
 protected:
  void SetUp() override {
    home = temp / "home";
    fs::create_directories(home);
    env.Set("HOME", home.string());
    for (const char* name : {"WINEPREFIX", "XDG_DATA_HOME", "XDG_CONFIG_HOME"}) env.Set(name, std::nullopt);
  }
  TempDir temp;
  fs::path home;
  ScopedEnv env;
};

TEST_F(DiscoveryWinePrefixes, DriveRootsFollowTheDosdevicesLinks) {
  fs::path prefix = MakePrefix(temp / "pfx");
  EXPECT_EQ(DosDriveRoot(prefix.string(), 'c'), fs::canonical(prefix / "drive_c").string());
  EXPECT_EQ(DosDriveRoot(prefix.string(), 'd'), "");
  fs::create_directories(prefix / "dosdevices" / "e:");  // a folder, not a link
  EXPECT_EQ(DosDriveRoot(prefix.string(), 'e'), "");
  fs::create_symlink(temp / "gone", prefix / "dosdevices" / "f:");
  EXPECT_EQ(DosDriveRoot(prefix.string(), 'f'), "");
  // Without a link that leads somewhere, c: is drive_c, and s: (Proton's
  // game drive) the steamapps folder of the library holding the prefix.
  const fs::path proton = temp / "lib/steamapps/compatdata/7/pfx", other = temp / "lib/steamapps/x/7/pfx";
  fs::create_directories(proton / "drive_c");
  fs::create_directories(proton / "dosdevices");
  fs::create_symlink(temp / "gone", proton / "dosdevices" / "s:");  // a link that leads nowhere
  fs::create_directories(other);
  EXPECT_EQ(DosDriveRoot(proton.string(), 'c'), fs::canonical(proton / "drive_c").string());
  EXPECT_EQ(DosDriveRoot(proton.string() + "/", 's'), fs::canonical(temp / "lib/steamapps").string());
  for (const fs::path& none : {prefix, other, proton / "drive_c"})
    EXPECT_EQ(DosDriveRoot(none.string(), 's'), "");
}

// WINEPREFIX, ~/.wine, the Proton prefixes of each Steam library, then the
// prefixes the other launchers name, from the home (~ or relative) or
// absolute, each once however it is reached. The installer's end-to-end
// test sets the XDG folders.
TEST_F(DiscoveryWinePrefixes, EveryLaunchersPrefixesInOrder) {
  fs::path own = MakePrefix(temp / "own");
  env.Set("WINEPREFIX", own.string());
  MakePrefix(home / ".wine");
  fs::path steam = home / ".local/share/Steam", compat = steam / "steamapps/compatdata";
  for (const char* app : {"200", "100"}) MakePrefix(compat / app / "pfx");
  fs::create_directories(compat / "300" / "pfx");  // no registry yet
  // ~/.steam/steam links to the same installation: its prefixes come once.
  fs::create_directories(home / ".steam");
  fs::create_symlink(steam, home / ".steam" / "steam");
  MakePrefix(home / ".steam/debian-installation/steamapps/compatdata/1/pfx");
  // Libraries of both library files, the stale one's and the current one's.
  // A Linux folder's name may hold a backslash, which Steam's file escapes.
  fs::path library = temp / "lib\\rary", current = temp / "current";
  MakePrefix(library / "steamapps/compatdata/400/pfx");
  MakePrefix(current / "steamapps/compatdata/500/pfx");
  WriteFile(steam / "steamapps/libraryfolders.vdf", "\"1\" \"" + (temp / "lib\\\\rary").string() + "\"");
  WriteFile(steam / "config/libraryfolders.vdf", "\"0\" { \"path\" \"" + (temp / "gone").string() +
                                                     "\" } \"1\" { \"path\" \"" + current.string() + "\" }");
  // Bottles' own folder, then its custom one.
  MakePrefix(home / ".local/share/bottles/bottles/b");
  WriteFile(home / ".local/share/bottles/data.yml",
            "custom_bottles_path: " + (temp / "bottles").string() + "\n");
  fs::create_symlink("loop", home / "loop");
  const std::string lutris[] = {"~/Games/tilde", "Games/relative", (temp / "absolute").string(), "~/loop"};
  for (const std::string& written : lutris) {
    WriteFile(home / ".local/share/lutris/games" / (std::to_string(&written - lutris) + ".yml"),
              "game:\n  prefix: " + written + "\n");
  }
  // Heroic's default folder holds a prefix per game. A relative
  // $XDG_CONFIG_HOME counts as unset, as the XDG rules say.
  env.Set("XDG_CONFIG_HOME", "relative");
  WriteFile(home / ".config/heroic/config.json",
            R"({"defaultSettings": {"defaultWinePrefix": ")" + (temp / "heroic").string() + R"("}})");
  for (const char* prefix : {"bottles/c", "home/Games/tilde", "home/Games/relative", "absolute",
                             "heroic/Gravelon/pfx", "heroic/Another"})
    MakePrefix(temp / prefix);

  std::vector<std::string> expected;
  for (const char* path :
       {"own", "home/.wine", "home/.steam/steam/steamapps/compatdata/100/pfx",
        "home/.steam/steam/steamapps/compatdata/200/pfx", "lib\\rary/steamapps/compatdata/400/pfx",
        "current/steamapps/compatdata/500/pfx", "home/.steam/debian-installation/steamapps/compatdata/1/pfx",
        "home/.local/share/bottles/bottles/b", "bottles/c", "home/Games/tilde", "home/Games/relative",
        "absolute", "heroic/Another", "heroic/Gravelon/pfx"}) {
    expected.push_back((temp / path).string());
  }
  const LauncherFolders found = DiscoverLaunchers();
  EXPECT_EQ(found.Prefixes, expected);
  // Each by the launcher whose files named it.
  EXPECT_EQ(found.PrefixLaunchers,
            (std::vector<std::string>{"", "", "Steam", "Steam", "Steam", "Steam", "Steam", "Bottles",
                                      "Bottles", "Lutris", "Lutris", "Lutris", "Heroic", "Heroic"}));
  EXPECT_EQ(found.SteamLibraries,
            (std::vector<std::string>{(home / ".steam/steam").string(), library.string(), current.string(),
                                      (home / ".steam/debian-installation").string()}));
}

// Absolute XDG folders are taken as they are; with the home at the root, a
// path named from the home is still absolute. A launcher's file may be
// named by its extension alone; a backup beside it, or another launcher's
// kind of file, is not read.
TEST_F(DiscoveryWinePrefixes, AbsoluteXdgFoldersAndTheRootAsHome) {
  env.Set("HOME", "/");
  env.Set("XDG_DATA_HOME", (temp / "data").string());
  env.Set("XDG_CONFIG_HOME", (temp / "config").string());
  WriteFile(temp / "data/lutris/games/.yml",
            "game:\n  prefix: " + (temp / "lutris").string().substr(1) + "\n");
  WriteFile(temp / "data/lutris/games/g.yml.bak", "game:\n  prefix: " + (temp / "old").string() + "\n");
  WriteFile(temp / "data/lutris/games/g.json", R"({"winePrefix": ")" + (temp / "old").string() + "\"}");
  WriteFile(temp / "config/heroic/GamesConfig/.json",
            R"({"g": {"winePrefix": ")" + (temp / "heroic").string() + "\"}}");
  for (const char* prefix : {"lutris", "heroic", "old"}) MakePrefix(temp / prefix);
  EXPECT_EQ(DiscoverLaunchers().Prefixes,
            (std::vector<std::string>{(temp / "lutris").string(), (temp / "heroic").string()}));
}

// The launchers that keep prefixes in folders of their own or name them in
// other files, each prefix by its launcher's name.
TEST_F(DiscoveryWinePrefixes, PrefixesOfTheOtherLaunchers) {
  MakePrefix(home / ".var/app/org.winehq.Wine/data/wine");
  // A bottle kept elsewhere, as Bottles names it; a Lutris game run from
  // the prefix it was installed in.
  WriteFile(home / ".local/share/bottles/bottles/Kept/placeholder.yml",
            "Path: " + (temp / "kept").string() + "\n");
  MakePrefix(temp / "kept");
  WriteFile(
      home / ".config/lutris/games/gravelon-1.yml",
      "game:\n  exe: " + (temp / "outer/drive_c/lutris/drive_c/GOG Games/Gravelon/Gravelon.exe").string() +
          "\nwine: {}\n");
  MakePrefix(temp / "outer/drive_c/lutris");  // the nearest, not the one around it
  MakePrefix(temp / "outer");
  fs::create_directories(temp / "outer/drive_c/lutris/drive_c/GOG Games/Gravelon");
  for (const char* prefix : {".cxoffice/Gravelon", ".Phoenicis/containers/wineprefix/Gravelon",
                             "Faugus/gravelon", "Games/Faugus/gravelon", "Games/umu/umu-default"})
    MakePrefix(home / prefix);
  WriteFile(
      home / ".local/share/faugus-launcher/games.json",
      R"([{"gameid": "gravelon", "title": "Gravelon", "prefix": ")" + (temp / "faugus").string() + R"("}])");
  WriteFile(home / ".config/minigalaxy/config.json",
            R"({"install_dir": ")" + (temp / "GOG").string() + R"("})");
  for (const char* prefix : {"faugus", "GOG/Gravelon/prefix"}) MakePrefix(temp / prefix);

  std::vector<std::string> expected{(home / ".var/app/org.winehq.Wine/data/wine").string(),
                                    (temp / "kept").string(), (temp / "outer/drive_c/lutris").string()};
  for (const char* prefix : {".cxoffice/Gravelon", ".Phoenicis/containers/wineprefix/Gravelon",
                             "Faugus/gravelon", "Games/Faugus/gravelon"})
    expected.push_back((home / prefix).string());
  expected.push_back((temp / "faugus").string());
  expected.push_back((home / "Games/umu/umu-default").string());
  expected.push_back((temp / "GOG/Gravelon/prefix").string());
  const LauncherFolders found = DiscoverLaunchers();
  EXPECT_EQ(found.Prefixes, expected);
  EXPECT_EQ(found.PrefixLaunchers,
            (std::vector<std::string>{"", "Bottles", "Lutris", "CrossOver", "Phoenicis", "Faugus", "Faugus",
                                      "Faugus", "umu", "Minigalaxy"}));
}

// Steam's binary file: a map (0), text (1), a 32-bit number (2), end (8).
std::string VdfText(const std::string& key, const std::string& value) {
  return "\x01" + key + std::string(1, '\0') + value + std::string(1, '\0');
}

std::string Shortcuts(const std::string& exe, const std::string& startDir) {
  using namespace std::string_literals;
  return "\0shortcuts\0\0"
         "0\0\x02"
         "appid\0\x01\x02\x03\x84"s +
         VdfText("AppName", "Gravelon") + VdfText("Exe", exe) + VdfText("StartDir", startDir) +
         "\0tags\0\x08\x08\x08\x08"s;
}

TEST(DiscoveryBinaryVdf, TextsAndBrokenFiles) {
  const std::string file = Shortcuts("\"/g/Gravelon.exe\"", "/g/");
  const std::vector<BinaryVdfText> texts{
      {"AppName", "Gravelon"}, {"Exe", "\"/g/Gravelon.exe\""}, {"StartDir", "/g/"}};
  EXPECT_EQ(BinaryVdfTexts(file), texts);
  EXPECT_EQ(SteamShortcutFolders(file), (std::vector<std::string>{"/g", "/g/"}));
  EXPECT_EQ(SteamShortcutFolders(VdfText("exe", "Gravelon.exe") + VdfText("startdir", "\"\"") + "\x08"),
            std::vector<std::string>{});
  // Cut anywhere but before the top map's end, the file is broken, as it is
  // with a type this reader does not know (float); nothing after the top
  // map's end is read, nothing past the cut, which the bytes beyond it
  // would complete.
  using namespace std::string_literals;
  const std::string numberLast = "\0m\0"s + VdfText("a", "b") + "\x02n\0\x01\x02\x03\x04\x08\x08"s;
  for (const std::string& whole : {file, numberLast}) {
    for (size_t size = 0; size + 1 < whole.size(); ++size)
      EXPECT_TRUE(BinaryVdfTexts(std::string_view(whole).substr(0, size)).empty()) << size;
  }
  EXPECT_EQ(BinaryVdfTexts(file.substr(0, file.size() - 1)), texts);
  EXPECT_EQ(BinaryVdfTexts(file + "\x01more"s), texts);
  EXPECT_TRUE(BinaryVdfTexts(VdfText("a", "b") + "\x03f\0\0\0\0\0\x08"s).empty());
}

// The store copies the launchers' records name, and those a Windows Steam
// or GOG's setup left in a prefix's registry, in the order they are tried.
TEST_F(DiscoveryWinePrefixes, StoreCopiesOfTheLaunchers) {
  const fs::path steam = home / ".local/share/Steam";
  WriteFile(steam / "userdata/1234/config/shortcuts.vdf",
            Shortcuts("\"" + (temp / "shortcut/Gravelon.exe").string() + "\"",
                      "\"" + (temp / "start").string() + "\""));
  const fs::path heroic = home / ".config/heroic", flatpak = home / ".var/app/com.heroicgameslauncher.hgl";
  WriteFile(heroic / "gog_store/installed.json",
            R"({"installed": [{"platform": "windows", "install_path": "/h/gog", "appName": "1207658930"}]})");
  WriteFile(
      heroic / "legendaryConfig/legendary/installed.json",
      R"({"Gravelon": {"app_name": "Gravelon", "install_path": "/h/epic", "executable": "Gravelon.exe"}})");
  WriteFile(heroic / "nile_config/nile/installed.json", R"([{"id": "amzn1", "path": "/h/amazon"}])");
  WriteFile(heroic / "sideload_apps/library.json",
            R"({"games": [{"runner": "sideload", "install": {"executable": "/h/side/Gravelon.exe"}}]})");
  WriteFile(flatpak / "config/heroic/gog_store/installed.json",
            R"({"installed": [{"install_path": ")" + (home / "Games/gog").string() + R"("}]})");
  // A Windows Steam in a prefix, with a library on another drive; a user.reg
  // too big for any prefix is not read.
  const auto steamIn = [](const fs::path& prefix) {
    WriteFile(prefix / "user.reg",
              "[Software\\\\Valve\\\\Steam] 1\n\"RunningAppID\"=dword:00000000\n\"SteamExe\"=\"c:/program "
              "files (x86)/steam/steam.exe\"\n\"SteamPath\"=\"c:/program files (x86)/steam\"\n");
    fs::create_directories(prefix / "drive_c/program files (x86)/steam/steamapps/common/Gravelon");
  };
  const fs::path prefix = MakePrefix(home / ".wine"), big = MakePrefix(home / ".cxoffice/big");
  steamIn(prefix);
  steamIn(big);
  fs::resize_file(big / "user.reg", (std::uintmax_t{256} << 20) + 1);
  fs::create_symlink(temp / "d", prefix / "dosdevices/d:");
  WriteFile(prefix / "drive_c/program files (x86)/steam/steamapps/libraryfolders.vdf",
            "\"libraryfolders\" { \"1\" { \"path\" \"D:\\\\SteamLibrary\" } }");
  fs::create_directories(temp / "d/SteamLibrary/steamapps/common/Gravelon");
  WriteFile(prefix / "system.reg",
            "[Software\\\\GOG.com\\\\Games\\\\1207658930] 1\n\"path\"=\"C:\\\\GOG\\\\G\"\n");

  const LauncherFolders found = DiscoverLaunchers();
  modRegistry::WineRegistryApi registry(found.Prefixes, DosDriveRoot);
  const std::string c = fs::canonical(prefix / "drive_c").string();
  EXPECT_EQ(StoreCopiesFound(found, registry),
            (std::vector<StoreCopy>{
                {(temp / "shortcut").string(), "Steam"},
                {(temp / "start").string(), "Steam"},
                {"/h/gog", "GOG"},
                {"/h/epic", "Epic"},
                {"/h/amazon", "Amazon"},
                {"/h/side", "Heroic"},
                {(home / "Games/gog").string(), "GOG"},
                {(flatpak / "Games/gog").string(), "GOG"},
                {c + "/program files (x86)/steam/steamapps/common/Gravelon", "Steam"},
                {fs::canonical(temp / "d").string() + "/SteamLibrary/steamapps/common/Gravelon", "Steam"},
                {c + "/GOG/G", "GOG"}}));
}

}  // namespace
