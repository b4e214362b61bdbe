// A test hook. With RIGBOX_DUMP_WIDGETS=<file> in the environment the front
// end writes what it shows into that file, rewritten whenever it changes, so
// tests can check positions and texts and find what to click:
//
//   scale   <factor>
//   window  <X window id> <x> <y> <w> <h> <caption>        screen position
//   widget  <name> <index or -> <x> <y> <w> <h> <shown 0|1> <enabled 0|1> <text>
//   model   <name> <index or -> <x> <y> <w> <h>             where the model puts it
//   dialog  <X window id> <x> <y> <w> <h> <icon> <title> <text>
//   button  <number> <x> <y> <w> <h> <caption>              in the dialog
//   chooser <folder> <filter shown 0|1> <preview shown 0|1> <entry>...   FLTK's folder chooser
//
// Fields are separated by tabs; in texts a tab, a line feed and a backslash
// are written as \t, \n and \\. A label's text is as drawn (a long path
// shortened). Widget positions are in the window; the
// model's are at the window's DPI, the form's ("frmMain") being its client
// area.
#pragma once

#include <string>
#include <string_view>
#include <utility>

namespace fltk_frontend {

class WizardWindow;
class MessageDialog;

class WidgetDump {
 public:
  // Reads the environment; without the variable the dump does nothing.
  WidgetDump();

  bool Enabled() const { return !path_.empty(); }
  void SetWindow(const WizardWindow* window) { window_ = window; }
  void SetDialog(const MessageDialog* dialog) { dialog_ = dialog; }
  // The open folder chooser's line, empty when none is open.
  void SetChooser(std::string line) { chooser_ = std::move(line); }
  // Writes the file anew (whole, through a rename).
  void Write() const;

 private:
  std::string path_;
  const WizardWindow* window_ = nullptr;
  const MessageDialog* dialog_ = nullptr;
  std::string chooser_;
};

// text as a dump field.
std::string DumpField(std::string_view text);

}  // namespace fltk_frontend
