// The installer's unattended mode: the same frmMain logic driven through a
// shell that answers instead of asking, as installers' silent modes do.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "discovery/registry.h"
#include "wizard/shell.h"

namespace wizard {

// Exit statuses of the installer.
inline constexpr int kExitSuccess = 0;
inline constexpr int kExitRunFailed = 1;
inline constexpr int kExitUsage = 2;
inline constexpr int kExitNotGameFolder = 3;
inline constexpr int kExitPackageRefused = 4;
inline constexpr int kExitCarPresent = 5;
inline constexpr int kExitPartlyRegistered = 6;
// The window only: closed before any installation ran.
inline constexpr int kExitClosedWithoutInstalling = 8;

struct CommandLine {
  bool Silent = false;
  bool Help = false;
  bool Version = false;
  std::optional<std::string> GameDir;
  bool Replace = false;
  bool Remove = false;
  // --car ID: the car --remove takes out, from its install record alone.
  std::optional<std::string> Car;
  // --log FILE: where the run's log goes.
  std::optional<std::string> Log;
  // --asked (internal, with --remove): the first run of the uninstall
  // entry's command asked already and restarted this one elevated.
  bool Asked = false;

  bool OpensWindow() const { return !Silent && !Help && !Version && !Remove; }
};

// The arguments after the program name; nullopt for a bad command line.
// A command line without any of the unattended options (none at all, a
// file dropped onto the installer, a shortcut's parameter) opens the window.
// The switches other installers take, names in any letter case, are ours
// too: /S, /SILENT and /VERYSILENT, /D=DIR (last, the arguments after it
// joined by blanks: its folder is not quoted), /DIR=DIR, /LOG=FILE and /?.
std::optional<CommandLine> ParseCommandLine(const std::vector<std::string>& arguments);

std::string UsageText(const std::string& programName);
// What --version prints: the version the Windows version resource carries.
std::string VersionText();

// Where the unattended mode writes: status texts to Out, each error box's
// text to Err. Each front end writes them to its console.
class ConsoleOutput {
 public:
  virtual ~ConsoleOutput() = default;
  virtual void Out(const std::string& line) = 0;
  virtual void Err(const std::string& line) = 0;
};

// The shell of a run without a window: the folder is the one given, each
// notice's text goes to Err and the run's status lines to Out. It answers
// only the questions it knows; any other is refused (its negative button)
// with a line on Err naming its string ID, so a new question cannot
// silently change what a script's run does.
class AnsweringShell : public Shell {
 public:
  AnsweringShell(const CommandLine& commandLine, ConsoleOutput& output)
      : commandLine_(commandLine), output_(output) {}

  MsgResult MessageBox(int16_t stringId, const std::string& text, const std::string& title,
                       MsgButtons buttons, MsgIcon icon) override;
  std::string BrowseForFolder(const std::string& title) override;
  void ControlChanged(const Control& /*control*/) override {}
  void ActionChanged(const std::string& text) override { output_.Out(text); }
  void EndProgram() override {}

 private:
  const CommandLine& commandLine_;
  ConsoleOutput& output_;
};

// Runs the whole installation without a window and returns the exit status.
// programPath overrides the program's own file (tests), when not empty.
int RunUnattended(const CommandLine& commandLine, ConsoleOutput& output, modRegistry::RegistryApi& registry,
                  const std::string& programPath = std::string());

class frmMain;
// The exit status of the wizard window once it closed: the run's, as the
// unattended mode gives it, or kExitClosedWithoutInstalling; logged.
int WindowExitStatus(frmMain& form);

// Everything but the window, for both programs: the usage after a bad
// command line (to Err, exit 2), --help or --version (to Out) or the
// unattended run.
int RunConsole(const std::optional<CommandLine>& commandLine, const std::string& programName,
               ConsoleOutput& output, modRegistry::RegistryApi& registry);

}  // namespace wizard
