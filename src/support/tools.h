// modTools: the small file, folder and path helpers the other modules share.
// None of them shows anything; failures become false or empty text.
#pragma once

#include <string>

namespace modTools {

// True when Path can be opened for reading (a folder of that name is not a file).
bool FileExists(const std::string& path);

// The whole file as bytes; empty for a missing, unreadable or empty file.
std::string ReadTextFile(const std::string& path);

// The whole file as bytes into text, empty for a missing one; false for a
// file that is there but cannot be read, which a caller must not take for
// empty (text is empty then too).
bool ReadExistingFile(const std::string& path, std::string& text);

// Exact, case-sensitive substring test over the whole file.
bool FileContains(const std::string& path, const std::string& text);

// Path with one trailing separator (the backslash on Windows); a path that
// already ends with a separator is returned as it stands. "" gives "\".
std::string AddBackslash(const std::string& path);

// Whether the folder exists; with create, a missing folder is made together
// with its missing parents first (a folder path must end with a separator to
// be made whole).
bool CheckFolder(const std::string& path, const bool& create);

// Creates every missing folder of path up to its last separator, then tests
// the whole path.
bool MakeFolder(const std::string& path);

}  // namespace modTools
