// Checks the tool makes of a package: every command that hands a package
// on makes the same ones, so an author hears of a fault before players do.
#pragma once

#include <string>
#include <vector>

#include "package/rigbox_format.h"
#include "result.h"

namespace rigbox_tool {

// The open package's entries after every check of "rigbox verify": those
// the installer makes before it writes anything.
Result<std::vector<modRIGBOX::RigboxEntry>> VerifyOpenPackage(const std::string& path);

}  // namespace rigbox_tool
