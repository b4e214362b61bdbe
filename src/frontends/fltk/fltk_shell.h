// The Shell of the FLTK front end: frmMain's message boxes, folder picker
// and changes shown in the wizard window.
#pragma once

#include <string>

#include "pixel_scale.h"
#include "widget_dump.h"
#include "wizard/frm_main.h"
#include "wizard/shell.h"
#include "wizard/string_table.h"
#include "wizard_window.h"

namespace fltk_frontend {

class FltkShell : public wizard::Shell {
 public:
  FltkShell(wizard::Language language, PixelScale scale, WidgetDump& dump);
  ~FltkShell() override;

  // The form and its window; the shell shows the form's changes there.
  void Attach(wizard::frmMain& form, WizardWindow& window);

  wizard::MsgResult MessageBox(int16_t stringId, const std::string& text, const std::string& title,
                               wizard::MsgButtons buttons, wizard::MsgIcon icon) override;
  std::string BrowseForFolder(const std::string& title) override;
  void ControlChanged(const wizard::Control& control) override;
  void KeepResponsive() override;
  void EndProgram() override;

 private:
  // Drops the player's input to the wizard window while the run goes on
  // or a folder is being picked.
  static int Dispatch(int event, Fl_Window* window);

  wizard::Language language_;
  PixelScale scale_;
  WidgetDump& dump_;
  wizard::frmMain* form_ = nullptr;
  WizardWindow* window_ = nullptr;
  bool picking_ = false;
};

}  // namespace fltk_frontend
