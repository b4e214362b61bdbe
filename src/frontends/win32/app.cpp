#include "app.h"

#include <commctrl.h>

#include "command_line.h"
#include "console.h"
#include "main_window.h"
#include "win32_shell.h"
#include "wizard/registry.h"
#include "wizard/unattended.h"

namespace win32_frontend {

int RunInstaller(HINSTANCE instance, int showCommand) {
  std::vector<std::string> arguments = CommandLineArguments();
  if (!arguments.empty()) return RunFromCommandLine(arguments);
  return RunWizard(instance, showCommand);
}

int RunFromCommandLine(const std::vector<std::string>& arguments) {
  ConsoleWriter console;
  std::optional<wizard::CommandLine> commandLine = wizard::ParseCommandLine(arguments);
  if (!commandLine) {
    console.Err(wizard::UsageText(ProgramFileName()));
    return wizard::kExitUsage;
  }
  if (commandLine->Help) {
    console.Out(wizard::UsageText(ProgramFileName()));
    return wizard::kExitSuccess;
  }
  return wizard::RunUnattended(*commandLine, console, modRegistry::SystemRegistry());
}

int RunWizard(HINSTANCE instance, int showCommand) {
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_PROGRESS_CLASS};
  InitCommonControlsEx(&controls);
  int status = wizard::kExitRunFailed;
  {
    MainWindow window(instance);
    Win32Shell shell(window);
    wizard::frmMain form(shell, modRegistry::SystemRegistry());
    if (window.Create(form)) {
      form.Form_Load();
      window.Show(showCommand);
      status = window.RunMessageLoop();
    }
  }
  return status;
}

}  // namespace win32_frontend
