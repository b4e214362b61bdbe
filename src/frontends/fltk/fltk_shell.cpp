#include "fltk_shell.h"

#include <FL/Fl.H>

#include "folder_picker.h"
#include "message_box.h"

namespace fltk_frontend {
namespace {

FltkShell* gActiveShell = nullptr;

bool IsInput(int event) {
  switch (event) {
    case FL_PUSH:
    case FL_RELEASE:
    case FL_DRAG:
    case FL_MOUSEWHEEL:
    case FL_KEYDOWN:
    case FL_KEYUP:
    case FL_SHORTCUT:
    case FL_CLOSE:
    case FL_PASTE:
    case FL_DND_ENTER:
    case FL_DND_DRAG:
    case FL_DND_RELEASE:
      return true;
    default:
      return false;
  }
}

}  // namespace

FltkShell::FltkShell(wizard::Language language, PixelScale scale, WidgetDump& dump)
    : language_(language), scale_(scale), dump_(dump) {
  gActiveShell = this;
  Fl::event_dispatch(Dispatch);
}

FltkShell::~FltkShell() {
  Fl::event_dispatch(nullptr);
  gActiveShell = nullptr;
}

void FltkShell::Attach(wizard::frmMain& form, WizardWindow& window) {
  form_ = &form;
  window_ = &window;
}

wizard::MsgResult FltkShell::MessageBox(int16_t /*stringId*/, const std::string& text,
                                        const std::string& title, wizard::MsgButtons buttons,
                                        wizard::MsgIcon icon) {
  Fl_Window* owner = window_ != nullptr ? &window_->Window() : nullptr;
  return ShowMessageBox({text, title, buttons, icon}, language_, scale_, owner,
                        dump_.Enabled() ? &dump_ : nullptr);
}

std::string FltkShell::BrowseForFolder(const std::string& title) {
  // The desktop's chooser is another program: the wizard takes no input
  // until it is closed, as under a modal chooser of its own.
  picking_ = true;
  std::string folder = PickFolder(title, form_ != nullptr ? form_->GameFolder : std::string(), language_,
                                  dump_.Enabled() ? &dump_ : nullptr);
  picking_ = false;
  return folder;
}

void FltkShell::ControlChanged(const wizard::Control& control) {
  if (window_ == nullptr) return;
  window_->Update(control);
  if (!window_->Window().shown()) return;
  dump_.Write();
  // The run blocks the event loop: show each change before it goes on.
  if (form_ != nullptr && form_->Running()) Fl::check();
}

void FltkShell::KeepResponsive() {
  // Input is dropped while the run goes on (Dispatch); this only paints.
  if (window_ != nullptr && window_->Window().shown() && form_ != nullptr && form_->Running()) Fl::check();
}

void FltkShell::EndProgram() {
  if (window_ != nullptr) window_->Window().hide();
}

int FltkShell::Dispatch(int event, Fl_Window* window) {
  FltkShell* shell = gActiveShell;
  if (shell != nullptr && shell->form_ != nullptr && shell->window_ != nullptr &&
      (shell->form_->Running() || shell->picking_) && window == &shell->window_->Window() && IsInput(event)) {
    return 1;
  }
  return Fl::handle_(event, window);
}

}  // namespace fltk_frontend
