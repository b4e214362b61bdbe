#include "folder_picker.h"

#include <FL/Fl.H>
#include <FL/Fl_Choice.H>
#include <FL/Fl_File_Browser.H>
#include <FL/Fl_File_Chooser.H>
#include <FL/fl_ask.H>

#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <system_error>

#include "desktop_chooser.h"
#include "dialog_texts.h"
#include "label_text.h"
#include "widget_dump.h"

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

bool IsFolder(const std::string& path) {
  struct stat info {};
  return !path.empty() && stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

std::string StartFolder(const std::string& startFolder) {
  std::string folder = FolderFromChooser(startFolder);
  if (IsFolder(folder)) return folder;
  const char* home = std::getenv("HOME");
  return home != nullptr && IsFolder(home) ? FolderFromChooser(home) : std::string();
}

// A folder of the program's own, removed when the program ends.
class ThrowawayFolder {
 public:
  ThrowawayFolder() {
    const char* temporary = std::getenv("TMPDIR");
    std::string pattern = std::string(temporary != nullptr && temporary[0] == '/' ? temporary : "/tmp") +
                          "/rigbox-extract-XXXXXX";
    if (mkdtemp(pattern.data()) != nullptr) path_ = pattern;
  }
  ~ThrowawayFolder() {
    std::error_code ignored;
    if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
  }
  ThrowawayFolder(const ThrowawayFolder&) = delete;
  ThrowawayFolder& operator=(const ThrowawayFolder&) = delete;

  const std::string& Path() const { return path_; }

 private:
  std::string path_;
};

// FLTK's chooser keeps its preferences (favourites, the preview switch) in
// a file under the home it sees when the first chooser is built, and writes
// them there. That first one is built while HOME names a throwaway folder;
// the ones shown are built in the real home, for their Home entry.
void KeepChooserPreferencesAside() {
  static bool done = false;
  if (done) return;
  done = true;
  static ThrowawayFolder throwaway;
  const char* home = std::getenv("HOME");
  std::optional<std::string> realHome = home != nullptr ? std::optional<std::string>(home) : std::nullopt;
  // Without a throwaway folder, a home that cannot be made.
  setenv("HOME", throwaway.Path().empty() ? "/proc/self/no-home" : throwaway.Path().c_str(), 1);
  { Fl_File_Chooser first(nullptr, nullptr, Fl_File_Chooser::DIRECTORY, ""); }
  if (realHome) {
    setenv("HOME", realHome->c_str(), 1);
  } else {
    unsetenv("HOME");
  }
}

template <typename Visit>
void ForEachWidget(Fl_Group& group, const Visit& visit) {
  for (int i = 0; i < group.children(); ++i) {
    Fl_Widget* child = group.child(i);
    visit(*child);
    if (Fl_Group* inner = child->as_group()) ForEachWidget(*inner, visit);
  }
}

// Test hook, see widget_dump.h.
std::string Describe(Fl_File_Chooser& chooser) {
  std::string line = "chooser\t" + DumpField(chooser.directory() != nullptr ? chooser.directory() : "");
  bool filterShown = false;
  std::string entries;
  ForEachWidget(*chooser.newButton->window(), [&](Fl_Widget& widget) {
    if (dynamic_cast<Fl_Choice*>(&widget) != nullptr && widget.visible()) filterShown = true;
    if (auto* list = dynamic_cast<Fl_File_Browser*>(&widget)) {
      for (int i = 1; i <= list->size(); ++i) entries += "\t" + DumpField(list->text(i));
    }
  });
  return line + "\t" + (filterShown ? "1" : "0") + "\t" + (chooser.previewButton->visible() ? "1" : "0") +
         entries + "\n";
}

std::string PickWithFltk(const std::string& title, const std::string& startFolder, WidgetDump* dump) {
  std::string start = startFolder.empty() || startFolder == "/" ? startFolder : startFolder + "/";
  KeepChooserPreferencesAside();
  Fl_File_Chooser chooser(start.empty() ? nullptr : start.c_str(), nullptr, Fl_File_Chooser::DIRECTORY,
                          title.c_str());
  // Folders only: no filter to choose and nothing to preview. Hidden
  // folders shown, since the launchers keep the game under them.
  ForEachWidget(*chooser.newButton->window(), [](Fl_Widget& widget) {
    if (dynamic_cast<Fl_Choice*>(&widget) != nullptr) widget.hide();
  });
  chooser.preview(0);
  chooser.previewButton->hide();
  chooser.showHiddenButton->value(1);
  chooser.rescan();
  chooser.show();
  if (dump != nullptr) {
    dump->SetChooser(Describe(chooser));
    dump->Write();
  }
  while (chooser.shown()) Fl::wait();
  if (dump != nullptr) dump->SetChooser(std::string());
  if (chooser.count() == 0 || chooser.value() == nullptr) return std::string();
  return FolderFromChooser(chooser.value());
}

}  // namespace

std::string PickFolder(const std::string& title, const std::string& startFolder, wizard::Language language,
                       WidgetDump* dump) {
  std::string start = StartFolder(startFolder);
  DesktopPickResult desktop = PickWithDesktopChooser(title, start);
  if (desktop.Outcome == DesktopPick::Chosen) return FolderFromChooser(desktop.Folder);
  if (desktop.Outcome == DesktopPick::Cancelled) return std::string();
  UseLabels(ChooserTextsFor(language));
  return PickWithFltk(title, start, dump);
}

}  // namespace fltk_frontend
