#include "cli.h"

#include <iostream>

#include "package/rigbox.h"
#include "support/failure.h"
#include "support/platform.h"

namespace rigbox_tool {

Result<Arguments> ParseArguments(const std::vector<std::string>& args,
                                 const std::set<std::string>& valueOptions,
                                 const std::set<std::string>& flags) {
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
    } else if (flags.count(arg) != 0) {
      result.Flags.insert(arg);
    } else if (valueOptions.count(arg) == 0) {
      return UsageError("unknown option " + arg);
    } else if (i + 1 == args.size()) {
      return UsageError(arg + " needs a value");
    } else if (result.Options.count(arg) != 0) {
      return UsageError(arg + " given twice");
    } else {
      result.Options[arg] = args[++i];
    }
  }
  return result;
}

Error UsageError(const std::string& message) { return Error(message, kExitUsage); }

Error SystemError(const std::string& what) { return Error(support::SystemFailure(what)); }

Error PackageError(const std::string& path) {
  Error error(modRIGBOX::LastFailure);
  return error.Cause().File == path ? error : error.Prefixed(Quoted(path) + ": ");
}

Status ShowUsage(const char* text) {
  std::cout << text;
  return Done{};
}

int Finish(const std::string& command, const Status& status) {
  if (status) return kExitOk;
  Error error = status.Error();
  if (error.ExitStatus() == kExitUsage) {
    std::cerr << "rigbox " << command << ": " << error.Message() << "\n"
              << "Run \"rigbox " << command << " --help\" for its usage.\n";
  } else {
    Complain(error.Message());
  }
  return error.ExitStatus();
}

void Complain(const std::string& message) { std::cerr << "rigbox: " << message << "\n"; }

void Warn(const std::string& message) { std::cerr << "rigbox: warning: " << message << "\n"; }

std::string Quoted(const std::string& path) { return "\"" + path + "\""; }

std::string Counted(int64_t count, const std::string& noun) {
  return std::to_string(count) + " " + noun + (count == 1 ? "" : "s");
}

namespace {

// No marker, or too short for a header: perhaps a program with a package.
bool MayBeProgram(const support::Failure& failure) {
  return failure.Kind == support::FailureKind::NotPackage ||
         (support::IsSystemFailure(failure.Kind) && failure.Number == platform::kErrInputPastEnd);
}

}  // namespace

Status OpenAnyPackage(const std::string& path) {
  if (modRIGBOX::OpenPackage(modRIGBOX::kModePackageFile, path, "", 0)) return Done{};
  Error packageFileError = PackageError(path);
  modRIGBOX::ClosePackage();
  if (!MayBeProgram(packageFileError.Cause())) return packageFileError;
  if (modRIGBOX::OpenPackage(modRIGBOX::kModeAppended, path, "", 0)) return Done{};
  Error appendedError = PackageError(path);
  modRIGBOX::ClosePackage();
  if (appendedError.Cause().Kind == support::FailureKind::WrongVersion) return appendedError;
  return Error(Quoted(path) + ": " + modRIGBOX::kNoRigboxFile +
               " (neither a package file nor a program with a package appended)");
}

}  // namespace rigbox_tool
