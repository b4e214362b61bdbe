#include "dialog_texts.h"

namespace fltk_frontend {
namespace {

using wizard::Language;
using wizard::MsgButtons;
using wizard::MsgResult;

struct ButtonCaptions {
  const char* Ok;
  const char* Cancel;
  const char* Yes;
  const char* No;
};

constexpr ButtonCaptions kEnglishButtons{"OK", "Cancel", "Yes", "No"};
constexpr ButtonCaptions kPolishButtons{"OK", "Anuluj", "Tak", "Nie"};

constexpr ChooserTexts kEnglishChooser{
    "OK",
    "Cancel",
    "Close",
    "Add to Favorites",
    "All Files (*)",
    "Custom Filter",
    "Please choose an existing folder!",
    "Favorites",
    "Folder:",
    "File Systems",
    "Manage Favorites",
    "New Folder?",
    "Create a new folder.",
    "Preview",
    "Save",
    "Show:",
    "Show hidden files",
};

constexpr ChooserTexts kPolishChooser{
    "OK",
    "Anuluj",
    "Zamknij",
    "Dodaj do ulubionych",
    "Wszystkie pliki (*)",
    "Własny filtr",
    "Proszę wybrać istniejący folder!",
    "Ulubione",
    "Folder:",
    "Systemy plików",
    "Zarządzaj ulubionymi",
    "Nowy folder?",
    "Utwórz nowy folder.",
    "Podgląd",
    "Zapisz",
    "Pokaż:",
    "Pokaż ukryte pliki",
};

}  // namespace

DialogButtonSet ButtonsFor(MsgButtons buttons, Language language) {
  const ButtonCaptions& text = language == Language::Polish ? kPolishButtons : kEnglishButtons;
  switch (buttons) {
    case MsgButtons::OKCancel:
      return {{{text.Ok, MsgResult::OK}, {text.Cancel, MsgResult::Cancel}}, MsgResult::Cancel};
    case MsgButtons::YesNo:
      return {{{text.Yes, MsgResult::Yes}, {text.No, MsgResult::No}}, MsgResult::No};
    case MsgButtons::OK:
      break;
  }
  return {{{text.Ok, MsgResult::OK}}, MsgResult::OK};
}

const ChooserTexts& ChooserTextsFor(Language language) {
  return language == Language::Polish ? kPolishChooser : kEnglishChooser;
}

}  // namespace fltk_frontend
