// Gives the Windows installer program the car's name and icon: Explorer's
// properties and the administrator prompt read its version resource, and
// Windows and the window show its icon group 1.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "result.h"

namespace rigbox_tool {

// UTF-8 texts for the version resource; an empty one leaves its strings as
// they are.
struct StubDetails {
  std::string Name;     // FileDescription and ProductName
  std::string Version;  // ProductVersion
  std::string Author;   // CompanyName
};

// A file's bytes and the path that messages name it by.
struct InputFile {
  std::string Path;
  std::vector<uint8_t> Bytes;
};

// The stub's bytes with its resource section rebuilt: the details in every
// string table of the version resource (a string the stub lacks is added),
// and with icon (an .ico file) its images as icon group 1, whose old images
// are dropped. Every other resource is kept byte for byte. When the section
// changes size, the sections after it move, which only a relocation section
// may do. A stub with data after its last section (an appended package, a
// signature, symbols) is refused, as is any layout it cannot rebuild safely.
Result<std::vector<uint8_t>> RebuildStubResources(const InputFile& stub, const StubDetails& details,
                                                  const std::optional<InputFile>& icon);

}  // namespace rigbox_tool
