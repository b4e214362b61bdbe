// rigbox-extract: the installer of one car. Without arguments it opens the
// wizard window; with --silent or --help it runs on the console.
#include <string>
#include <vector>

#include "console_mode.h"
#include "fltk_shell.h"

int main(int argc, char** argv) {
  std::vector<std::string> arguments(argv + 1, argv + argc);
  if (arguments.empty()) return fltk_frontend::RunWizardWindow();
  std::string programName = argc > 0 ? argv[0] : "rigbox-extract";
  size_t slash = programName.find_last_of('/');
  if (slash != std::string::npos) programName.erase(0, slash + 1);
  return fltk_frontend::RunConsole(programName, arguments);
}
