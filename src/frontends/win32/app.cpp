#include "app.h"

#include "command_line.h"
#include "console.h"
#include "discovery/registry.h"
#include "main_window.h"
#include "wide_text.h"
#include "win32_shell.h"
#include "wizard/frm_main.h"
#include "wizard/unattended.h"

namespace win32_frontend {

int RunInstaller(HINSTANCE instance, int showCommand) {
  std::optional<wizard::CommandLine> commandLine = wizard::ParseCommandLine(CommandLineArguments());
  if (commandLine && commandLine->OpensWindow()) return RunWizard(instance, showCommand, *commandLine);
  return RunFromCommandLine(commandLine);
}

int RunFromCommandLine(const std::optional<wizard::CommandLine>& commandLine) {
  ConsoleWriter console;
  int status = wizard::RunConsole(commandLine, ProgramFileName(), console, modRegistry::SystemRegistry());
  // Started from a shortcut, the program has no console: the player would
  // see nothing at all.
  bool usageError = !commandLine;
  bool informs = !usageError && (commandLine->Help || commandLine->Version || commandLine->Remove);
  if (usageError ? !console.ReachesErrors() : informs && !console.ReachesOutput()) {
    std::string text = usageError || commandLine->Help ? wizard::UsageText(ProgramFileName())
                       : commandLine->Remove           ? console.Transcript()
                                                       : wizard::VersionText();
    bool warns = usageError || status != wizard::kExitSuccess;
    MessageBoxW(nullptr, Widen(text).c_str(), Widen(wizard::kCloseTitle).c_str(),
                MB_OK | (warns ? MB_ICONEXCLAMATION : MB_ICONINFORMATION));
  }
  return status;
}

int RunWizard(HINSTANCE instance, int showCommand, const wizard::CommandLine& commandLine) {
  MainWindow window(instance);
  Win32Shell shell(window);
  wizard::frmMain form(shell, modRegistry::SystemRegistry());
  if (!window.Create(form)) return wizard::kExitRunFailed;
  if (!form.StartLog(commandLine.Log)) return wizard::kExitUsage;
  form.Form_Load();
  if (commandLine.GameDir) form.OpenOnGameFolder(*commandLine.GameDir);
  window.Show(showCommand);
  window.RunMessageLoop();
  return wizard::WindowExitStatus(form);
}

}  // namespace win32_frontend
