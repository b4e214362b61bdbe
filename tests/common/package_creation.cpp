// The tests make packages, as the rigbox tool does; the installer cannot.
#include "package/rigbox.h"

namespace {
const bool kCreationEnabled = (modRIGBOX::EnablePackageCreation(), true);
}  // namespace
