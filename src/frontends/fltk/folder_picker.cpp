#include "folder_picker.h"

#include <FL/Fl.H>
#include <FL/Fl_File_Chooser.H>
#include <FL/Fl_Native_File_Chooser.H>
#include <FL/fl_ask.H>

#include "dialog_texts.h"
#include "label_text.h"

namespace fltk_frontend {
namespace {

void UseLabels(const ChooserTexts& texts) {
  fl_ok = texts.Ok;
  fl_cancel = texts.Cancel;
  fl_close = texts.Close;
  Fl_File_Chooser::add_favorites_label = texts.AddFavorites;
  Fl_File_Chooser::all_files_label = texts.AllFiles;
  Fl_File_Chooser::custom_filter_label = texts.CustomFilter;
  Fl_File_Chooser::existing_file_label = texts.ExistingFile;
  Fl_File_Chooser::favorites_label = texts.Favorites;
  Fl_File_Chooser::filename_label = texts.Filename;
  Fl_File_Chooser::filesystems_label = texts.Filesystems;
  Fl_File_Chooser::manage_favorites_label = texts.ManageFavorites;
  Fl_File_Chooser::new_directory_label = texts.NewDirectory;
  Fl_File_Chooser::new_directory_tooltip = texts.NewDirectoryTooltip;
  Fl_File_Chooser::preview_label = texts.Preview;
  Fl_File_Chooser::save_label = texts.Save;
  Fl_File_Chooser::show_label = texts.Show;
  Fl_File_Chooser::hidden_label = texts.Hidden;
}

}  // namespace

std::string PickFolder(const std::string& title, wizard::Language language) {
  Fl::option(Fl::OPTION_FNFC_USES_GTK, false);
  UseLabels(ChooserTextsFor(language));
  Fl_Native_File_Chooser chooser(Fl_Native_File_Chooser::BROWSE_DIRECTORY);
  chooser.title(title.c_str());
  // 0: a folder was chosen; 1: cancelled; -1: the chooser failed.
  if (chooser.show() != 0 || chooser.filename() == nullptr) return std::string();
  return FolderFromChooser(chooser.filename());
}

}  // namespace fltk_frontend
