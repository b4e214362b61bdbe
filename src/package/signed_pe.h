// Code signing appends a certificate table to a Windows program after
// everything else, so in a signed installer the package's trailer is no
// longer the last four bytes: it sits right before that table.
#pragma once

#include <cstdint>
#include <optional>

#include "support/platform.h"

namespace modRIGBOX {

// The file offset of the certificate table when the file is a PE image
// (PE32 or PE32+) whose certificate table ends exactly at the end of the
// file; nothing for any other file. Moves the file's read position.
std::optional<int64_t> CertificateTableOffset(platform::File& file, int64_t fileLength);

}  // namespace modRIGBOX
