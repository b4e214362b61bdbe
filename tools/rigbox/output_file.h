// How pack and sfx write their one output file: never over something that
// is not a regular file, and never half-written under the output's name.
#pragma once

#include <string>

#include "result.h"

namespace rigbox_tool {

// A failure when path exists and is anything but a regular file (a folder,
// a device, a named pipe, a socket, a symbolic link), which is left as it is.
Status CheckOutputPath(const std::string& path);

// Where the output is written before Publish gives it its name: beside it,
// so the rename stays on one file system.
std::string TemporaryPath(const std::string& out);

// Makes the finished temporary file durable and moves it over out in one
// step; on failure the temporary file is removed and out is as it was.
Status Publish(const std::string& temporary, const std::string& out);

}  // namespace rigbox_tool
