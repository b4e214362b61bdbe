// The wizard window drawn with FLTK: one widget per control of frmMain's
// model, at the model's position, showing the model's state. Clicks and
// close requests go to frmMain; the window decides nothing itself.
#pragma once

#include <FL/Fl_Double_Window.H>
#include <FL/Fl_RGB_Image.H>

#include <memory>
#include <string>
#include <vector>

#include "pixel_scale.h"
#include "wizard/frm_main.h"

namespace fltk_frontend {

class WizardWindow {
 public:
  WizardWindow(wizard::frmMain& form, PixelScale scale);
  ~WizardWindow();
  WizardWindow(const WizardWindow&) = delete;
  WizardWindow& operator=(const WizardWindow&) = delete;

  Fl_Double_Window& Window() { return *window_; }

  // Shows the control's current state (the form itself: its caption).
  void Update(const wizard::Control& control);
  // Opens the window centred on the screen and waits until it is drawn.
  void Show();
  // Test hook: one line per widget, see widget_dump.h.
  void Describe(std::string& out) const;

 private:
  void AddChildren(int container);
  Fl_Widget* MakeWidget(int position);
  void Apply(int position);
  void Clicked(Fl_Widget* widget);
  static void OnWidget(Fl_Widget* widget, void* self);
  static void OnClose(Fl_Widget* window, void* self);

  wizard::frmMain& form_;
  PixelScale scale_;
  std::unique_ptr<Fl_Double_Window> window_;
  // By position in the model's Controls; nullptr for controls not drawn.
  std::vector<Fl_Widget*> widgets_;
  std::vector<std::unique_ptr<Fl_RGB_Image>> images_;
};

}  // namespace fltk_frontend
