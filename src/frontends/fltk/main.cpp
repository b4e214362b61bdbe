// rigbox-extract: the installer of one car. It opens the wizard window
// unless the command line asks for the console (--silent, --help).
#include <optional>
#include <string>
#include <vector>

#include "console_mode.h"
#include "fltk_shell.h"

int main(int argc, char** argv) {
  std::optional<wizard::CommandLine> commandLine =
      wizard::ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
  if (commandLine && commandLine->OpensWindow()) return fltk_frontend::RunWizardWindow();
  std::string programName = argc > 0 ? argv[0] : "rigbox-extract";
  size_t slash = programName.find_last_of('/');
  if (slash != std::string::npos) programName.erase(0, slash + 1);
  return fltk_frontend::RunConsole(programName, commandLine);
}
