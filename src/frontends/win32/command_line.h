// The installer's command line, split the way the C runtime would split it.
#pragma once

#include <string>
#include <vector>

namespace win32_frontend {

// The arguments after the program name, as UTF-8.
std::vector<std::string> CommandLineArguments();

// The arguments of commandLine (a whole command line, program name first);
// an argument "/D=DIR" takes the rest of the line as it stands.
std::vector<std::string> SplitCommandLine(const std::wstring& commandLine);

// The running program's file name, for the usage text.
std::string ProgramFileName();

}  // namespace win32_frontend
