// A Windows program built the way the installer is (no exceptions, no RTTI,
// the small runtime, the core linked statically). It uses what the installer
// leans on, the containers, virtual calls and the platform layer, and exits
// with the number of the first check that failed.
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "support/platform.h"
#include "support/tools.h"
#include "support/windows_include.h"

namespace {

struct Shape {
  virtual ~Shape() = default;
  virtual int Corners() const = 0;
};

struct Square : Shape {
  int Corners() const override { return 4; }
};

std::optional<int> ParseDigit(char c) {
  if (c < '0' || c > '9') return std::nullopt;
  return c - '0';
}

int Run() {
  std::string self = platform::ExecutablePath();
  if (self.size() < 5 || self.compare(self.size() - 4, 4, ".exe") != 0) return 1;
  if (!modTools::FileExists(self)) return 2;
  platform::File file;
  char magic[2] = {};
  if (!file.Open(self, platform::OpenMode::Read) || !file.ReadExact(magic, 2)) return 3;
  if (magic[0] != 'M' || magic[1] != 'Z') return 4;

  std::vector<std::string> names;
  for (int i = 0; i < 1000; ++i) names.push_back("CarID" + std::to_string(i));
  std::map<std::string, size_t> byName;
  for (size_t i = 0; i < names.size(); ++i) byName[names[i]] = i;
  if (byName.size() != 1000 || byName["CarID999"] != 999) return 5;

  std::string line = names[42] + "=" + std::to_string(42);
  if (line != "CarID42=42") return 6;
  if (ParseDigit('7').value_or(-1) != 7 || ParseDigit('x').has_value()) return 7;

  Shape* shape = new Square;
  int corners = shape->Corners();
  delete shape;
  if (corners != 4) return 8;
  if (GetModuleHandleW(nullptr) == nullptr) return 9;
  return 0;
}

}  // namespace

int main() { return Run(); }
