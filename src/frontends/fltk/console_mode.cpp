#include "console_mode.h"

#include <cstdio>

#include "wizard/registry.h"
#include "wizard/unattended.h"

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

int RunConsole(const std::string& programName, const std::vector<std::string>& arguments) {
  std::optional<wizard::CommandLine> commandLine = wizard::ParseCommandLine(arguments);
  if (!commandLine) {
    std::fputs(wizard::UsageText(programName).c_str(), stderr);
    return wizard::kExitUsage;
  }
  if (commandLine->Help) {
    std::fputs(wizard::UsageText(programName).c_str(), stdout);
    return wizard::kExitSuccess;
  }
  StdioOutput output;
  return wizard::RunUnattended(*commandLine, output, modRegistry::SystemRegistry());
}

}  // namespace fltk_frontend
