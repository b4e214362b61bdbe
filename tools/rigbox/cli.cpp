#include "cli.h"

#include <iostream>

#include "package/rigbox.h"

namespace rigbox_tool {

std::optional<Arguments> ParseArguments(const std::string& command, const std::vector<std::string>& args,
                                        const std::set<std::string>& valueOptions) {
  Arguments result;
  bool optionsEnded = false;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (optionsEnded || arg.empty() || arg[0] != '-' || arg == "-") {
      result.Positionals.push_back(arg);
    } else if (arg == "--") {
      optionsEnded = true;
    } else if (arg == "--help" || arg == "-h") {
      result.Help = true;
    } else if (valueOptions.count(arg) == 0) {
      UsageError(command, "unknown option " + arg);
      return std::nullopt;
    } else if (i + 1 == args.size()) {
      UsageError(command, arg + " needs a value");
      return std::nullopt;
    } else if (result.Options.count(arg) != 0) {
      UsageError(command, arg + " given twice");
      return std::nullopt;
    } else {
      result.Options[arg] = args[++i];
    }
  }
  return result;
}

int UsageError(const std::string& command, const std::string& message) {
  std::cerr << "rigbox " << command << ": " << message << "\n"
            << "Run \"rigbox " << command << " --help\" for its usage.\n";
  return kExitUsage;
}

int Failure(const std::string& message) {
  std::cerr << "rigbox: " << message << "\n";
  return kExitFailure;
}

int PackageFailure(const std::string& path) {
  std::string quoted = "\"" + path + "\"";
  const std::string& text = modRIGBOX::LastErrText;
  return Failure(text.find(quoted) == std::string::npos ? quoted + ": " + text : text);
}

bool OpenAnyPackage(const std::string& path) {
  if (modRIGBOX::OpenPackage(modRIGBOX::kModePackageFile, path, "", 0)) return true;
  std::string packageFileError = modRIGBOX::LastErrText;
  // No marker, or too short for a header: perhaps a program with a package.
  bool notPackageFile =
      packageFileError == modRIGBOX::kNoRigboxFile || modRIGBOX::LastErrNumber == platform::kErrInputPastEnd;
  modRIGBOX::ClosePackage();
  if (!notPackageFile) {
    modRIGBOX::LastErrText = packageFileError;
    PackageFailure(path);
    return false;
  }
  if (modRIGBOX::OpenPackage(modRIGBOX::kModeAppended, path, "", 0)) return true;
  std::string appendedError = modRIGBOX::LastErrText;
  modRIGBOX::ClosePackage();
  if (appendedError == modRIGBOX::kWrongVersion) {
    PackageFailure(path);
  } else {
    Failure("\"" + path + "\": " + modRIGBOX::kNoRigboxFile +
            " (neither a package file nor a program with a package appended)");
  }
  return false;
}

}  // namespace rigbox_tool
