#include "wizard/unattended.h"

#include <algorithm>
#include <utility>

#include "game/car_folder.h"
#include "package/rigbox.h"
#include "support/ascii_case.h"
#include "support/text_format.h"
#include "support/tools.h"
#include "support/version.h"
#include "wizard/form_model.h"
#include "wizard/frm_main.h"
#include "wizard/removal.h"
#include "wizard/shell.h"
#include "wizard/string_table.h"
#include "wizard/uninstall_entry.h"

namespace wizard {

using namespace std::string_view_literals;

namespace {

using support::StartsWithIgnoringCase;

constexpr int16_t kResAlreadyInstalled = 140;

int ExitStatus(Outcome outcome) {
  switch (outcome) {
    case Outcome::RunSucceeded:
      return kExitSuccess;
    case Outcome::NotGameFolder:
      return kExitNotGameFolder;
    case Outcome::PackageUnreadable:
    case Outcome::CarIdRefused:
      return kExitPackageRefused;
    case Outcome::ReplaceDeclined:
      return kExitCarPresent;
    case Outcome::RunPartlyRegistered:
      return kExitPartlyRegistered;
    default:
      return kExitRunFailed;
  }
}

bool IsUnattendedOption(const std::string& argument) {
  return argument == "--silent" || argument == "--replace" || argument == "--remove" ||
         argument == "--help" || argument == "-h" || argument == "/?" || argument == "--version" ||
         argument == "--game-dir" || argument.rfind("--game-dir=", 0) == 0 || argument == "--log" ||
         argument.rfind("--log=", 0) == 0 || argument == "--car" || argument.rfind("--car=", 0) == 0;
}

// Another installer's switch as our option, or the argument as it stands.
std::string AsOurOption(const std::string& argument) {
  for (const char* silent : {"/S", "/SILENT", "/VERYSILENT"})
    if (support::EqualsIgnoringCase(argument, silent)) return "--silent";
  if (StartsWithIgnoringCase(argument, "/DIR=")) return "--game-dir=" + argument.substr(5);
  if (StartsWithIgnoringCase(argument, "/LOG=")) return "--log=" + argument.substr(5);
  return argument;
}

constexpr const char* kIgnoredSwitches[] = {"/SUPPRESSMSGBOXES", "/NORESTART", "/SP-"};

std::vector<std::string> WithOurOptions(const std::vector<std::string>& arguments) {
  std::vector<std::string> result;
  for (size_t i = 0; i < arguments.size(); ++i) {
    // Switches that other installers need and we do not: nothing to
    // restart, no message box is ever left waiting, no extra prompt.
    if (std::any_of(std::begin(kIgnoredSwitches), std::end(kIgnoredSwitches),
                    [&](const char* name) { return support::EqualsIgnoringCase(arguments[i], name); }))
      continue;
    if (StartsWithIgnoringCase(arguments[i], "/D=")) {
      // Scripts pass its folder unquoted, blanks and all, as the last switch.
      std::string folder = arguments[i].substr(3);
      while (++i < arguments.size()) folder += " " + arguments[i];
      result.push_back("--game-dir=" + folder);
    } else {
      result.push_back(AsOurOption(arguments[i]));
      // A folder named like a switch stays a folder.
      if ((arguments[i] == "--game-dir" || arguments[i] == "--log" || arguments[i] == "--car") &&
          i + 1 < arguments.size())
        result.push_back(arguments[++i]);
    }
  }
  return result;
}

// "--NAME VALUE" or "--NAME=VALUE" at arguments[i], VALUE not empty: into
// value, and i on the last argument taken.
bool TakeValue(const std::vector<std::string>& arguments, size_t& i, const std::string& name,
               std::optional<std::string>& value) {
  const std::string& argument = arguments[i];
  if (argument == name && i + 1 < arguments.size() && !arguments[i + 1].empty()) {
    value = arguments[++i];
  } else if (argument.rfind(name + "=", 0) == 0 && argument.size() > name.size() + 1) {
    value = argument.substr(name.size() + 1);
  } else {
    return false;
  }
  return true;
}

// The log's last line, after a run that ends with status.
int Logged(RunLog& log, int status) {
  log.Write({"Exit status "sv, support::DecimalText(status)});
  return status;
}

int Run(frmMain& form, const CommandLine& commandLine, ConsoleOutput& output,
        modRegistry::RegistryApi& registry) {
  form.Form_Load();
  // The first line of every unattended run: the game folder and where it
  // came from.
  const discovery::FolderOrigin given{discovery::OriginKind::CommandLine, {}, {}};
  const discovery::FolderOrigin& origin = commandLine.GameDir ? given : form.GameFolderOrigin;
  std::string folderText = GameFolderText(
      commandLine.GameDir ? modTools::AddBackslash(*commandLine.GameDir) : form.GameFolder, origin);
  output.Out(folderText);
  // A game removed whole took the car with it: its entry goes.
  if (commandLine.Car && commandLine.GameDir && !platform::FolderExists(*commandLine.GameDir) &&
      game::IsUsableFolderName(*commandLine.Car)) {
    UnregisterUninstall(registry, *commandLine.GameDir, *commandLine.Car);
    output.Err(LoadResString(kResCarNotInstalled));
    return kExitNotInstalled;
  }
  if (commandLine.GameDir) {
    // Taken as a picked folder: it gets a separator and must hold the game.
    form.btnBrowse_Click(0);
    form.GameFolderOrigin.Kind = given.Kind;
  }
  // An install's log names its folder once the player could change it.
  bool notGame = form.LastOutcome == Outcome::NotGameFolder;
  if (notGame || commandLine.Remove) form.Log.Write({folderText});
  if (notGame) return kExitNotGameFolder;
  if (commandLine.Remove) {
    int status = RemoveCar(form, output, commandLine.Car);
    // Last: an entry stays as long as something of its car may.
    if (status == kExitSuccess || status == kExitNotInstalled)
      UnregisterUninstall(registry, form.GameFolder, form.CarID);
    return status;
  }
  form.cmdNav_Click(kNavNext);
  if (form.Step != kStepReady) return ExitStatus(form.LastOutcome);
  form.cmdNav_Click(kNavNext);
  int status = ExitStatus(form.LastOutcome);
  form.cmdNav_Click(kNavFinish);
  return status;
}

}  // namespace

MsgResult AnsweringShell::MessageBox(int16_t stringId, const std::string& text, const std::string& /*title*/,
                                     MsgButtons buttons, MsgIcon /*icon*/) {
  if (buttons == MsgButtons::OK) {
    output_.Err(text);
    return MsgResult::OK;
  }
  switch (stringId) {
    case kResReplaceQuestion:
      if (commandLine_.Replace) return MsgResult::OK;
      output_.Err(LoadResString(kResAlreadyInstalled));
      return MsgResult::Cancel;
    // Only whoever drives the run can ask to close it, and nobody else is
    // there to change their mind.
    case kResAreYouSure:
      return MsgResult::Yes;
    // A restart as administrator opens the window and a system prompt that
    // nobody answers, and the script would never learn how it ended; the
    // run reports the folder as not writable instead.
    case kResAskElevation:
      return MsgResult::No;
    default:
      output_.Err("No unattended answer to question " + support::DecimalText(stringId) + ": declined");
      return buttons == MsgButtons::YesNo ? MsgResult::No : MsgResult::Cancel;
  }
}

std::string AnsweringShell::BrowseForFolder(const std::string& /*title*/) {
  return commandLine_.GameDir.value_or("");
}

std::optional<CommandLine> ParseCommandLine(const std::vector<std::string>& arguments) {
  const std::vector<std::string> ours = WithOurOptions(arguments);
  CommandLine result;
  // Not meant for us: the window opens, as it would without arguments.
  if (std::none_of(ours.begin(), ours.end(), IsUnattendedOption)) return result;
  for (size_t i = 0; i < ours.size(); ++i) {
    const std::string& argument = ours[i];
    if (argument == "--silent") {
      result.Silent = true;
    } else if (argument == "--replace") {
      result.Replace = true;
    } else if (argument == "--remove") {
      result.Remove = true;
    } else if (argument == "--asked") {
      result.Asked = true;
    } else if (argument == "--help" || argument == "-h" || argument == "/?") {
      result.Help = true;
    } else if (argument == "--version") {
      result.Version = true;
    } else if (!TakeValue(ours, i, "--game-dir", result.GameDir) &&
               !TakeValue(ours, i, "--log", result.Log) && !TakeValue(ours, i, "--car", result.Car)) {
      return std::nullopt;
    }
  }
  // Replacing without asking only makes sense without the window (which
  // --game-dir alone opens on that folder); a removal replaces nothing.
  bool unattended = result.Silent || result.Remove;
  if (!result.Help && !result.Version && !unattended && result.Replace) return std::nullopt;
  if ((result.Remove && result.Replace) || (result.Car && !result.Remove)) return std::nullopt;
  return result;
}

std::string UsageText(const std::string& programName) {
  return "Usage: " + programName +
         " [--game-dir DIR] [--silent [--replace]] [--log FILE]\n"
         "       " +
         programName +
         " --remove [--car ID] [--game-dir DIR] [--log FILE]\n"
         "\n"
         "Installs the car carried by this program into the game's folder.\n"
         "Without options the installation wizard opens.\n"
         "\n"
         "  --silent        install without a window\n"
         "  --game-dir DIR  the game's folder (default: the one the game recorded);\n"
         "                  without --silent the wizard opens on it\n"
         "  --replace       replace the car if it is already installed\n"
         "  --remove        remove this car from the game again, without a window\n"
         "  --car ID        with --remove: that car, by its install record alone\n"
         "  --log FILE      write what the run does to FILE, replacing it (UTF-8 text)\n"
         "  --help          show this text\n"
         "  --version       show the program's version\n"
         "\n"
         "Other installers' switches, in any letter case: /S, /SILENT, /VERYSILENT for\n"
         "--silent; /D=DIR (last, DIR unquoted) and /DIR=DIR for --game-dir DIR;\n"
         "/LOG=FILE for --log FILE; /? for --help. /SUPPRESSMSGBOXES, /NORESTART and\n"
         "/SP- are accepted and change nothing.\n"
         "\n"
         "Exit status: 0 installed, 1 the installation failed, 2 bad command line or\n"
         "the log cannot be written, 3 the folder does not hold the game, 4 the package\n"
         "cannot be opened or its car ID is refused, 5 the car is already installed and\n"
         "--replace was not given, 6 installed, but some game files could not be updated\n"
         "(listed on stderr).\n"
         "--remove: 0 removed, 1 something could not be removed (listed on stderr),\n"
         "3 and 4 as above, 7 this car is not installed in that game folder (--car: no\n"
         "install record there); 2 for --car when this installer carries another car.\n"
         "The wizard: its installation's status, or 8 when closed without installing.\n";
}

std::string VersionText() {
  std::string text = "RIGBOX Extract " RIGBOX_VERSION_TEXT;
  // The car this installer carries, as its author named it; its bytes are
  // checked when it installs.
  if (modRIGBOX::CheckAppendedPackage(platform::ExecutablePath())) text.append("\n").append(CarDetailsText());
  return text;
}

int RunUnattended(const CommandLine& commandLine, ConsoleOutput& output, modRegistry::RegistryApi& registry,
                  const std::string& programPath) {
  AnsweringShell shell(commandLine, output);
  frmMain form(shell, registry);
  if (!programPath.empty()) form.ProgramPath = programPath;
  if (!form.StartLog(commandLine.Log)) return kExitUsage;
  return Logged(form.Log, Run(form, commandLine, output, registry));
}

int WindowExitStatus(frmMain& form) {
  // The run, once started, ends on its own step: the window closes after it.
  return Logged(form.Log,
                form.Step == kStepProgress ? ExitStatus(form.LastOutcome) : kExitClosedWithoutInstalling);
}

int RunConsole(const std::optional<CommandLine>& commandLine, const std::string& programName,
               ConsoleOutput& output, modRegistry::RegistryApi& registry) {
  std::string usage = UsageText(programName);
  usage.pop_back();  // the output ends each line itself
  if (!commandLine) {
    output.Err(usage);
    return kExitUsage;
  }
  if (commandLine->Help) {
    output.Out(usage);
    return kExitSuccess;
  }
  if (commandLine->Version) {
    output.Out(VersionText());
    return kExitSuccess;
  }
  return RunUnattended(*commandLine, output, registry);
}

}  // namespace wizard
