// The folder picker: the desktop's own chooser where there is one, else
// FLTK's in directory mode, with its labels in the user's language.
#pragma once

#include <string>

#include "wizard/string_table.h"

namespace fltk_frontend {

class WidgetDump;

// The chosen folder without a trailing separator ("/" for the root), or
// empty text when the player cancels. The picker opens on startFolder, or
// the home when that is no folder. dump (may be null) describes FLTK's
// chooser while it is open.
std::string PickFolder(const std::string& title, const std::string& startFolder, wizard::Language language,
                       WidgetDump* dump);

}  // namespace fltk_frontend
