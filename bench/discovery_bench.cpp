// How long the Linux installer takes to find the Wine prefixes of a home
// with many Proton prefixes, to read the game folder when it is recorded in
// the last of them (every other registry is read first), and what such
// prefixes cost when none records it, against a home without them.
//   build/bench/discovery_bench [PREFIXES] [REGISTRY_KIB] [TRIALS]
// Defaults: 1000 prefixes, registries of 1600 KiB (a fresh 64-bit prefix's),
// best of 5 runs. Targets: finding the prefixes of 1000 takes under 100 ms;
// 1000 prefixes without the value cost under 300 ms more than none.
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "discovery/game_folder.h"
#include "discovery/registry.h"
#include "discovery/wine_prefixes.h"
#include "discovery/wine_registry.h"

namespace fs = std::filesystem;

namespace {

// A registry as Wine writes a fresh prefix's: COM classes and interfaces,
// services, fonts, binary data; seed varies the names from one to the next.
std::string RealisticRegistry(size_t bytes, unsigned seed) {
  std::string text = "WINE REGISTRY Version 2\n;; All keys relative to \\\\Machine\n\n#arch=win64\n\n";
  const char* dlls[] = {"combase", "ole32", "shell32", "quartz", "msxml3"};
  char guid[40];
  for (unsigned key = seed; text.size() < bytes; ++key) {
    std::snprintf(guid, sizeof guid, "{%08X-%04X-%04X-C000-%012X}", key * 2654435761u, key & 0xFFFF,
                  (key >> 3) & 0xFFFF, key * 40503u);
    const std::string number = std::to_string(key);
    switch (key % 5) {
      case 0:
        text += std::string("[Software\\\\Classes\\\\CLSID\\\\") + guid +
                "\\\\InprocServer32] 1700000000\n#time=1da0000000000\n@=\"C:\\\\windows\\\\system32\\\\" +
                dlls[key % 5] + ".dll\"\n\"ThreadingModel\"=\"Both\"\n\n";
        break;
      case 1:
        text += std::string("[Software\\\\Classes\\\\Interface\\\\") + guid +
                "] 1700000000\n#time=1da0000000000\n@=\"IEnumMoniker\"\n\"NumMethods\"=\"7\"\n\n";
        break;
      case 2:
        text += "[System\\\\CurrentControlSet\\\\Services\\\\Service" + number +
                "] 1700000000\n#time=1da0000000000\n\"Description\"=\"Provides device support\"\n"
                "\"DisplayName\"=\"Wine Service " +
                number +
                "\"\n\"ErrorControl\"=dword:00000001\n"
                "\"ImagePath\"=str(2):\"C:\\\\windows\\\\system32\\\\drivers\\\\svc" +
                number + ".sys\"\n\"Start\"=dword:00000003\n\"Type\"=dword:00000001\n\n";
        break;
      case 3:
        text +=
            "[Software\\\\Microsoft\\\\Windows NT\\\\CurrentVersion\\\\Fonts\\\\" + number +
            "] 1700000000\n\"Arial (TrueType)\"=\"arial.ttf\"\n\"Courier New (TrueType)\"=\"cour.ttf\"\n\n";
        break;
      default:
        text += std::string("[Software\\\\Microsoft\\\\Cryptography\\\\Providers\\\\") + guid +
                "] 1700000000\n\"Data\"=hex:01,00,00,00,4c,00,00,00,06,02,00,00,00,24,00,00,52,53,41,31,\\\n"
                "  00,02,00,00,01,00,01,00,d7,ab,7f,35,a1,29,12,9d,55,ea,33,cd,65,8a,fe,43\n\n";
    }
  }
  return text;
}

void WritePrefix(const fs::path& prefix, size_t registryBytes, unsigned seed, bool withGame) {
  fs::create_directories(prefix / "dosdevices");
  fs::create_symlink("/", prefix / "dosdevices" / "z:");
  std::string text = RealisticRegistry(registryBytes, seed);
  if (withGame)
    text +=
        "[Software\\\\Wow6432Node\\\\Brackmoor\\\\Gravelon] 1700000000\n\"DestinationDir\"=\"Z:\\\\g\\\\\"\n";
  std::ofstream(prefix / "system.reg", std::ios::binary) << text;
}

// The game folder as the installer reads it at start, in the home now set.
bool ReadGameFolderOfHome(std::string& folder) {
  modRegistry::WineRegistryApi api(discovery::DiscoverLaunchers().Prefixes, discovery::DosDriveRoot,
                                   {discovery::kGogGamesKey});
  discovery::FolderOrigin origin;
  // Every store copy the installer looks for, the prefixes' GOG keys and
  // Windows Steam included.
  return discovery::ReadGameFolder(api, folder, origin, [](modRegistry::RegistryApi& registry) {
    return discovery::StoreCopiesFound(discovery::DiscoverLaunchers(), registry);
  });
}

// The best of the runs' times on the clock, and the processor time (this
// process's, user and system) of that run: on a shared machine the clock
// counts waiting for a processor too.
struct Timing {
  double Milliseconds = 1e300;
  double ProcessorMilliseconds = 0;
};

template <typename Run>
Timing BestOf(int trials, Run run) {
  Timing best;
  for (int i = 0; i < trials; ++i) {
    const std::clock_t processor = std::clock();
    const auto start = std::chrono::steady_clock::now();
    run();
    const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;
    if (took.count() < best.Milliseconds)
      best = {took.count(), 1000.0 * static_cast<double>(std::clock() - processor) / CLOCKS_PER_SEC};
  }
  return best;
}

}  // namespace

int main(int argc, char** argv) {
  const int count = argc > 1 ? std::atoi(argv[1]) : 1000;
  const size_t registryBytes = (argc > 2 ? std::strtoul(argv[2], nullptr, 10) : 1600) * 1024;
  const int trials = argc > 3 ? std::atoi(argv[3]) : 5;
  const char* tmp = std::getenv("TMPDIR");
  const fs::path root = fs::path(tmp ? tmp : "/tmp") / ("rigbox-prefix-bench-" + std::to_string(getpid()));
  const fs::path steamapps = root / "home/.local/share/Steam/steamapps";
  const fs::path last = steamapps / "compatdata" / std::to_string(100000 + count - 1) / "pfx";
  for (int i = 0; i < count; ++i) {
    WritePrefix(steamapps / "compatdata" / std::to_string(100000 + i) / "pfx", registryBytes,
                static_cast<unsigned>(i) * 7919, i == count - 1);
  }
  setenv("HOME", (root / "home").c_str(), 1);
  unsetenv("WINEPREFIX");

  size_t found = 0;
  const Timing discover = BestOf(trials, [&] { found = discovery::DiscoverLaunchers().Prefixes.size(); });
  std::string folder;
  const Timing lookup = BestOf(trials, [&] {
    modRegistry::WineRegistryApi api(discovery::DiscoverLaunchers().Prefixes, discovery::DosDriveRoot);
    modRegistry::ReadRegistryValue(api, modRegistry::kHkeyLocalMachine, "SOFTWARE\\Brackmoor\\Gravelon",
                                   "DestinationDir", folder);
  });
  // No prefix records the game; then the same home without the prefixes.
  std::ofstream(last / "system.reg", std::ios::binary) << RealisticRegistry(registryBytes, 0);
  bool none = true;
  const Timing without = BestOf(trials, [&] {
    std::string ignored;
    none = !ReadGameFolderOfHome(ignored) && none;
  });
  fs::rename(steamapps / "compatdata", root / "compatdata");
  const Timing empty = BestOf(trials, [&] {
    std::string ignored;
    none = !ReadGameFolderOfHome(ignored) && none;
  });
  fs::remove_all(root);

  std::printf("%d Proton prefixes, registries of %zu KiB, best of %d runs (processor time of that run)\n",
              count, registryBytes / 1024, trials);
  std::printf("finding the prefixes:           %8.2f ms (%.2f; %zu found; target under 100 ms)\n",
              discover.Milliseconds, discover.ProcessorMilliseconds, found);
  std::printf("reading the game folder (last): %8.2f ms (%.2f; %s)\n", lookup.Milliseconds,
              lookup.ProcessorMilliseconds, folder.c_str());
  std::printf(
      "none records it:                %8.2f ms (%.2f; a home without them: %.2f ms; target: under 300 ms "
      "more)\n",
      without.Milliseconds, without.ProcessorMilliseconds, empty.Milliseconds);
  return found == static_cast<size_t>(count) && folder == "/g/" && none ? 0 : 1;
}
