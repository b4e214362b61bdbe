// The folder picker: FLTK's own chooser in directory mode, the same on
// every desktop (GTK's would depend on what is installed), with its labels
// in the user's language.
#pragma once

#include <string>

#include "wizard/string_table.h"

namespace fltk_frontend {

// The chosen folder without a trailing separator ("/" for the root), or
// empty text when the player cancels.
std::string PickFolder(const std::string& title, wizard::Language language);

}  // namespace fltk_frontend
