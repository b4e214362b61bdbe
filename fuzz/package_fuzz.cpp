// Fuzz target for the package reader: any bytes, opened as a package file
// and as a program with an appended package, listed, verified and extracted
// into a sandbox, must neither crash nor write outside the destination.
//
// Built with clang and -fsanitize=fuzzer it is a libFuzzer target; with
// RIGBOX_FUZZ_REPLAY defined it is a plain program that replays the files
// (or folders of files) named on its command line.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <system_error>
#include <vector>

#include <stdlib.h>  // mkdtemp

#include "package/rigbox.h"

namespace fs = std::filesystem;

namespace {

// Three levels, each of which may hold only what is named here, so that an
// entry climbing out of dest by one, two or three levels is seen.
struct Sandbox {
  fs::path Root;   // holds only "outer"
  fs::path Outer;  // holds only "inner"
  fs::path Inner;  // holds only "input.bin" and "dest"
  fs::path Input;
  fs::path Dest;
};

const Sandbox& TheSandbox() {
  static const Sandbox sandbox = [] {
    Sandbox s;
    std::string pattern = (fs::temp_directory_path() / "rigbox-fuzz-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
      std::perror("mkdtemp");
      std::abort();
    }
    s.Root = pattern;
    s.Outer = s.Root / "outer";
    s.Inner = s.Outer / "inner";
    s.Input = s.Inner / "input.bin";
    s.Dest = s.Inner / "dest";
    fs::create_directories(s.Inner);
    return s;
  }();
  return sandbox;
}

void ExpectOnly(const fs::path& folder, const std::set<std::string>& allowed) {
  std::error_code error;
  for (const auto& entry : fs::directory_iterator(folder, error)) {
    std::string name = entry.path().filename().string();
    if (allowed.count(name) == 0) {
      std::fprintf(stderr, "written outside the destination: %s\n", entry.path().c_str());
      std::abort();
    }
  }
}

void ReadEverything(int32_t mode, const std::string& input, const fs::path& dest) {
  if (modRIGBOX::OpenPackage(mode, input, "", 0)) {
    std::vector<modRIGBOX::RigboxEntry> entries;
    modRIGBOX::ReadPackageDirectory(entries);
    modRIGBOX::VerifyPackage(entries);
    std::string destFolder = dest.string();
    modRIGBOX::ExtractPackage(destFolder);
    modRIGBOX::GetPackageCarID();
  }
  modRIGBOX::ClosePackage();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const Sandbox& sandbox = TheSandbox();
  {
    std::ofstream out(sandbox.Input, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  }
  ReadEverything(modRIGBOX::kModePackageFile, sandbox.Input.string(), sandbox.Dest);
  ReadEverything(modRIGBOX::kModeAppended, sandbox.Input.string(), sandbox.Dest);

  ExpectOnly(sandbox.Root, {"outer"});
  ExpectOnly(sandbox.Outer, {"inner"});
  ExpectOnly(sandbox.Inner, {"input.bin", "dest"});
  std::error_code error;
  fs::remove_all(sandbox.Dest, error);
  return 0;
}

#ifdef RIGBOX_FUZZ_REPLAY
int main(int argc, char** argv) {
  std::vector<fs::path> inputs;
  for (int i = 1; i < argc; ++i) {
    if (fs::is_directory(argv[i])) {
      for (const auto& entry : fs::directory_iterator(argv[i])) {
        if (entry.is_regular_file()) inputs.push_back(entry.path());
      }
    } else {
      inputs.emplace_back(argv[i]);
    }
  }
  std::sort(inputs.begin(), inputs.end());
  for (const fs::path& input : inputs) {
    std::ifstream in(input, std::ios::binary);
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::printf("%s\n", input.c_str());
    LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
  }
  std::error_code error;
  fs::remove_all(TheSandbox().Root, error);
  std::printf("%zu inputs replayed\n", inputs.size());
  return inputs.empty() ? 1 : 0;
}
#endif
