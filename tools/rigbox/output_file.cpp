#include "output_file.h"

#include "cli.h"
#include "support/platform.h"

namespace rigbox_tool {
namespace {

const char* KindName(const platform::PathInfo& info) {
  if (info.IsLink) return "a symbolic link";
  switch (info.Kind) {
    case platform::PathKind::Folder:
      return "a folder";
    case platform::PathKind::Device:
      return "a device";
    case platform::PathKind::Pipe:
      return "a named pipe";
    case platform::PathKind::Socket:
      return "a socket";
    default:
      return nullptr;
  }
}

}  // namespace

Status CheckOutputPath(const std::string& path) {
  platform::PathInfo info;
  if (!platform::GetPathInfo(path, info)) return SystemError("Cannot examine " + Quoted(path));
  // A link that leads nowhere is still a name that writing would replace.
  if (info.Kind == platform::PathKind::Missing && !info.IsLink) return Done{};
  if (const char* kind = KindName(info)) {
    return Error(Quoted(path) + " is " + kind + ", not a regular file; it is left as it is");
  }
  return Done{};
}

std::string TemporaryPath(const std::string& out) { return out + ".part"; }

Status Publish(const std::string& temporary, const std::string& out) {
  platform::File file;
  bool flushed = file.Open(temporary, platform::OpenMode::Append) && file.Flush() && file.Close();
  Status status = flushed ? Status(Done{}) : SystemError("Cannot write " + Quoted(temporary));
  if (status && !platform::ReplaceFile(temporary, out)) status = SystemError("Cannot write " + Quoted(out));
  if (!status) platform::DeleteFile(temporary);
  return status;
}

}  // namespace rigbox_tool
