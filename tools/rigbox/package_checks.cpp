#include "package_checks.h"

#include "cli.h"
#include "package/rigbox.h"

namespace rigbox_tool {

Result<std::vector<modRIGBOX::RigboxEntry>> VerifyOpenPackage(const std::string& path) {
  std::vector<modRIGBOX::RigboxEntry> entries;
  if (!modRIGBOX::VerifyPackage(entries)) return PackageError(path);
  return entries;
}

}  // namespace rigbox_tool
