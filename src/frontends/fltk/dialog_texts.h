// The platform's own texts of dialogs: message box buttons and the folder
// chooser's labels. They are not the installer's strings (the string table
// has none of them) but what the desktop shows in the user's language.
#pragma once

#include <string>
#include <vector>

#include "wizard/shell.h"
#include "wizard/string_table.h"

namespace fltk_frontend {

struct DialogButton {
  std::string Caption;
  wizard::MsgResult Result;
};

struct DialogButtonSet {
  // Left to right, the first being the default (Enter).
  std::vector<DialogButton> Buttons;
  // What Escape and the close box answer.
  wizard::MsgResult EscapeResult;
};

DialogButtonSet ButtonsFor(wizard::MsgButtons buttons, wizard::Language language);

// The labels of FLTK's file chooser and its OK and Cancel buttons.
struct ChooserTexts {
  const char* Ok;
  const char* Cancel;
  const char* Close;
  const char* AddFavorites;
  const char* AllFiles;
  const char* CustomFilter;
  const char* ExistingFile;
  const char* Favorites;
  const char* Filename;
  const char* Filesystems;
  const char* ManageFavorites;
  const char* NewDirectory;
  const char* NewDirectoryTooltip;
  const char* Preview;
  const char* Save;
  const char* Show;
  const char* Hidden;
};

const ChooserTexts& ChooserTextsFor(wizard::Language language);

}  // namespace fltk_frontend
