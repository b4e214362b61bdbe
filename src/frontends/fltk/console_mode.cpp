#include "console_mode.h"

#include <cstdio>

#include "wizard/registry.h"

namespace fltk_frontend {
namespace {

class StdioOutput : public wizard::ConsoleOutput {
 public:
  void Out(const std::string& line) override {
    std::fprintf(stdout, "%s\n", line.c_str());
    std::fflush(stdout);
  }
  void Err(const std::string& line) override { std::fprintf(stderr, "%s\n", line.c_str()); }
};

}  // namespace

int RunConsole(const std::string& programName, const std::optional<wizard::CommandLine>& commandLine) {
  StdioOutput output;
  return wizard::RunConsole(commandLine, programName, output, modRegistry::SystemRegistry());
}

}  // namespace fltk_frontend
