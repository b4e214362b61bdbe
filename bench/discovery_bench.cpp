// How long the Linux installer takes to find the Wine prefixes of a home
// with many Proton prefixes, and to read the game folder when it is
// recorded in the last of them (every other registry is read first).
//   build/bench/discovery_bench [PREFIXES] [REGISTRY_KIB] [TRIALS]
// Defaults: 1000 prefixes, registries of 64 KiB, best of 10 runs.
// Target: finding the prefixes of 1000 takes under 100 ms.
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "discovery/registry.h"
#include "discovery/wine_prefixes.h"
#include "discovery/wine_registry.h"

namespace fs = std::filesystem;

namespace {

void WritePrefix(const fs::path& prefix, size_t registryBytes, bool withGame) {
  fs::create_directories(prefix / "dosdevices");
  fs::create_symlink("/", prefix / "dosdevices" / "z:");
  std::string text = "WINE REGISTRY Version 2\n;; All keys relative to \\\\Machine\n\n#arch=win64\n\n";
  for (int key = 0; text.size() < registryBytes; ++key) {
    text += "[Software\\\\Classes\\\\CLSID\\\\{" + std::to_string(key) +
            "}] 1700000000\n#time=1da0000000000\n@=\"Some component\"\n\"ThreadingModel\"=\"Both\"\n\n";
  }
  if (withGame)
    text +=
        "[Software\\\\Wow6432Node\\\\Brackmoor\\\\Gravelon] 1700000000\n\"DestinationDir\"=\"Z:\\\\g\\\\\"\n";
  std::ofstream(prefix / "system.reg", std::ios::binary) << text;
}

template <typename Run>
double BestMilliseconds(int trials, Run run) {
  double best = 1e300;
  for (int i = 0; i < trials; ++i) {
    auto start = std::chrono::steady_clock::now();
    run();
    std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;
    if (took.count() < best) best = took.count();
  }
  return best;
}

}  // namespace

int main(int argc, char** argv) {
  const int count = argc > 1 ? std::atoi(argv[1]) : 1000;
  const size_t registryBytes = (argc > 2 ? std::strtoul(argv[2], nullptr, 10) : 64) * 1024;
  const int trials = argc > 3 ? std::atoi(argv[3]) : 10;
  const char* tmp = std::getenv("TMPDIR");
  const fs::path root = fs::path(tmp ? tmp : "/tmp") / ("rigbox-prefix-bench-" + std::to_string(getpid()));
  const fs::path compatdata = root / "home/.local/share/Steam/steamapps/compatdata";
  for (int i = 0; i < count; ++i) {
    WritePrefix(compatdata / std::to_string(100000 + i) / "pfx", registryBytes, i == count - 1);
  }
  setenv("HOME", (root / "home").c_str(), 1);
  unsetenv("WINEPREFIX");

  size_t found = 0;
  const double discover =
      BestMilliseconds(trials, [&] { found = discovery::DiscoverLaunchers().Prefixes.size(); });
  std::string folder;
  const double lookup = BestMilliseconds(trials, [&] {
    modRegistry::WineRegistryApi api(discovery::DiscoverLaunchers().Prefixes, discovery::DosDriveRoot);
    modRegistry::ReadRegistryValue(api, modRegistry::kHkeyLocalMachine, "SOFTWARE\\Brackmoor\\Gravelon",
                                   "DestinationDir", folder);
  });
  fs::remove_all(root);

  std::printf("%d Proton prefixes, registries of %zu KiB, best of %d runs\n", count, registryBytes / 1024,
              trials);
  std::printf("finding the prefixes:           %8.2f ms (%zu found; target under 100 ms)\n", discover, found);
  std::printf("reading the game folder (last): %8.2f ms (%s)\n", lookup, folder.c_str());
  return found == static_cast<size_t>(count) && folder == "/g/" ? 0 : 1;
}
