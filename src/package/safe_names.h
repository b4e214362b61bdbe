// The names a package may use for its folders and files. A package comes
// from outside, so its names are checked before anything is written: each
// must stay below the destination folder and mean the same on every system.
#pragma once

#include <string>
#include <string_view>

namespace modRIGBOX {

// Why a SubFolder name may not be used, or nullptr when it is safe. The empty
// name (the car's own folder) is safe; parts are separated by backslashes
// (a slash is taken as a separator too, as Windows does).
const char* SubFolderProblem(std::string_view subFolder);

// A packer may end a folder name with a separator ("Tex\\"); it leads to
// the same folder as without it.
std::string_view FolderWithoutTrailingSeparator(std::string_view subFolder);

// Why a FileName may not be used, or nullptr when it is safe.
const char* FileNameProblem(std::string_view fileName);

// A name for a message: bytes outside printable ASCII shown as \xNN.
std::string PrintableName(std::string_view name);

}  // namespace modRIGBOX
