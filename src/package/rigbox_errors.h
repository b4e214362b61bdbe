// How the package module fills LastErrNumber and LastErrText; shared by the
// files of the module only.
#pragma once

#include <cstdint>
#include <string>

namespace modRIGBOX {

// A file path in quotes, in the system's own form: the way messages name a file.
std::string Quoted(const std::string& path);

// The last platform failure: `<what>: <description>`, e.g.
// `Cannot open "C:\x\y.exe": File not found`. Returns false.
bool FailOs(const std::string& what);
// A failure the module finds itself (a misuse, a name it will not store),
// with a run-time error number and the text as given.
bool FailNumber(int16_t number, const std::string& text);
// A malformed package: LastErrNumber -1 and the text as given.
bool FailFormat(const std::string& text);

}  // namespace modRIGBOX
