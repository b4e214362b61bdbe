#include "app.h"

#include "command_line.h"
#include "console.h"
#include "dialogs.h"
#include "discovery/registry.h"
#include "main_window.h"
#include "support/platform.h"
#include "wide_text.h"
#include "win32_shell.h"
#include "wizard/frm_main.h"
#include "wizard/string_table.h"
#include "wizard/unattended.h"
#include "wizard/uninstall_entry.h"

namespace win32_frontend {

int RunInstaller(HINSTANCE instance, int showCommand) {
  std::optional<wizard::CommandLine> commandLine = wizard::ParseCommandLine(CommandLineArguments());
  if (commandLine && commandLine->OpensWindow()) return RunWizard(instance, showCommand, *commandLine);
  return RunFromCommandLine(commandLine);
}

namespace {

constexpr int16_t kResRightsDeclined = 174;

}  // namespace

int RunFromCommandLine(const std::optional<wizard::CommandLine>& commandLine) {
  // The uninstall entry's command asks first (once: not in the run it
  // restarts elevated); its quiet form does not.
  if (commandLine && commandLine->Remove && commandLine->Car && commandLine->GameDir &&
      !commandLine->Silent && !commandLine->Asked) {
    if (ShowMessageBox(nullptr, wizard::RemovalQuestion(*commandLine->GameDir, *commandLine->Car),
                       wizard::kCloseTitle, wizard::MsgButtons::YesNo,
                       wizard::MsgIcon::Question) != wizard::MsgResult::Yes)
      return wizard::kExitClosedWithoutInstalling;
    // The elevated run shows the outcome; its status is the removal's.
    if (!platform::IsElevated() &&
        wizard::RemovalNeedsRights(*commandLine->GameDir, *commandLine->Car, modRegistry::SystemRegistry())) {
      DWORD status = wizard::kExitRunFailed;
      if (!StartElevated(nullptr, Widen(platform::ExecutablePath()),
                         Widen(wizard::ArgumentsOf(Narrow(GetCommandLineW())) + wizard::kAsked), &status))
        ShowMessageBox(nullptr, wizard::LoadResString(kResRightsDeclined), wizard::kCloseTitle,
                       wizard::MsgButtons::OK, wizard::MsgIcon::Exclamation);
      return static_cast<int>(status);
    }
  }
  ConsoleWriter console;
  int status = wizard::RunConsole(commandLine, ProgramFileName(), console, modRegistry::SystemRegistry());
  // Started from a shortcut, the program has no console: the player would
  // see nothing at all.
  bool usageError = !commandLine;
  bool informs = !usageError && (commandLine->Help || commandLine->Version || !commandLine->Silent);
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
