// What the game-integration modules share about changing the game's files.
#pragma once

#include <optional>
#include <string>

namespace game {

// Why a game file was not updated.
enum class ScriptFault {
  Missing,     // the file whose attributes are reset does not exist
  CannotOpen,  // it cannot be made writable or opened for appending
  WriteFailed,
  CannotReplace,  // its new version could not take the old one's place
  CannotDelete,
  InUse,        // another program (the game) holds it
  CannotRead,   // it is there, but its contents cannot be read
  CannotList,   // a folder whose entries cannot be read
  ThroughLink,  // Windows' copy lies behind a link, which anyone may plant there
};

// fault, or InUse when the last platform call failed because another
// program holds the file: the player can do something about that one.
ScriptFault Because(ScriptFault fault);

// Windows' own copy of the game file at path, which the game reads instead
// of the file when it exists (see platform::VirtualStorePath); "" when
// there is none. A change to the file must reach the copy too.
std::string StoreCopyOf(const std::string& path);

// ThroughLink when the way from the VirtualStore folder down to copy passes
// through a link or junction: the player plants those without rights, and
// an elevated run would follow them out of the store.
std::optional<ScriptFault> CopyFault(const std::string& copy);

// A game file that was not changed: its name as the player is shown it,
// and why.
struct FileFault {
  std::string ShownName;
  ScriptFault Fault;
};

// Puts bytes in the place of the file at path: written whole as tempPath
// (a name in the same folder; whatever an interrupted run left there goes
// first), flushed, then moved over path, which keeps its attributes. A
// crash leaves the old file or the new one, never a part of either.
std::optional<ScriptFault> ReplaceWholeFile(const std::string& path, const std::string& tempPath,
                                            const std::string& bytes);

}  // namespace game
