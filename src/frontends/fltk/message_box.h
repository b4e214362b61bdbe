// The wizard's message boxes, drawn here because FLTK's own have no title
// and only a letter for an icon: modal, centred on the wizard, the title,
// the wrapped text, the drawn icon and the buttons in the desktop's order.
// Enter chooses the focused button (at first the leftmost), Escape and the
// close box the set's escape answer.
#pragma once

#include <FL/Fl_Double_Window.H>

#include <string>
#include <vector>

#include "dialog_texts.h"
#include "pixel_scale.h"
#include "wizard/shell.h"

namespace fltk_frontend {

class WidgetDump;

struct MessageBoxRequest {
  std::string Text;
  std::string Title;
  wizard::MsgButtons Buttons = wizard::MsgButtons::OK;
  wizard::MsgIcon Icon = wizard::MsgIcon::Critical;
};

class MessageDialog : public Fl_Double_Window {
 public:
  MessageDialog(const MessageBoxRequest& request, const DialogButtonSet& buttons, PixelScale scale);

  // Shows the dialog centred on owner (or the screen) and returns the
  // answer once it is closed.
  wizard::MsgResult Run(Fl_Window* owner, WidgetDump* dump);
  int handle(int event) override;
  // Test hook, see widget_dump.h.
  void Describe(std::string& out) const;

 private:
  void Answer(wizard::MsgResult result);
  static void OnButton(Fl_Widget* button, void* self);
  static void OnClose(Fl_Widget* window, void* self);

  MessageBoxRequest request_;
  DialogButtonSet set_;
  std::vector<Fl_Widget*> buttons_;
  wizard::MsgResult result_;
};

wizard::MsgResult ShowMessageBox(const MessageBoxRequest& request, wizard::Language language,
                                 PixelScale scale, Fl_Window* owner, WidgetDump* dump);

}  // namespace fltk_frontend
