#include "fltk_shell.h"

#include <FL/Fl.H>
#include <FL/Fl_PNG_Image.H>
#include <FL/x.H>

#include <cstdio>
#include <cstdlib>
#include <memory>

#include "embedded_images.h"
#include "folder_picker.h"
#include "message_box.h"
#include "wizard/registry.h"
#include "wizard/unattended.h"

namespace fltk_frontend {
namespace {

FltkShell* gActiveShell = nullptr;

constexpr double kDefaultFontPoints = 8.25;
const char* const kIconNames[] = {"icon-16", "icon-24", "icon-32", "icon-48"};

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

// The program's icon in every size, for the wizard and its dialogs.
std::vector<std::unique_ptr<Fl_RGB_Image>> LoadIcons() {
  std::vector<std::unique_ptr<Fl_RGB_Image>> icons;
  for (const char* name : kIconNames) {
    if (const EmbeddedImage* png = FindEmbeddedImage(name)) {
      icons.push_back(std::make_unique<Fl_PNG_Image>(png->Name, png->Data, static_cast<int>(png->Size)));
    }
  }
  return icons;
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

wizard::MsgResult FltkShell::MessageBox(const std::string& text, const std::string& title,
                                        wizard::MsgButtons buttons, wizard::MsgIcon icon) {
  Fl_Window* owner = window_ != nullptr ? &window_->Window() : nullptr;
  return ShowMessageBox({text, title, buttons, icon}, language_, scale_, owner,
                        dump_.Enabled() ? &dump_ : nullptr);
}

std::string FltkShell::BrowseForFolder(const std::string& title) { return PickFolder(title, language_); }

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
  if (shell != nullptr && shell->form_ != nullptr && shell->window_ != nullptr && shell->form_->Running() &&
      window == &shell->window_->Window() && IsInput(event)) {
    return 1;
  }
  return Fl::handle_(event, window);
}

int RunWizardWindow() {
  const char* display = std::getenv("DISPLAY");
  if (display == nullptr || *display == '\0') {
    std::fputs(
        "rigbox-extract: no X display (DISPLAY is not set); use --silent to install without a window\n",
        stderr);
    return wizard::kExitRunFailed;
  }
  fl_open_display();
  Fl::option(Fl::OPTION_FNFC_USES_GTK, false);
  Fl::scheme("gtk+");
  Fl::background(240, 240, 240);
  Fl_Window::default_xclass("rigbox-extract");
  float dpiH = 96, dpiV = 96;
  Fl::screen_dpi(dpiH, dpiV);
  PixelScale scale = PixelScale::ForDpi(dpiV);
  FL_NORMAL_SIZE = scale.FontPixels(kDefaultFontPoints);

  std::vector<std::unique_ptr<Fl_RGB_Image>> icons = LoadIcons();
  std::vector<const Fl_RGB_Image*> iconList;
  for (const auto& icon : icons) iconList.push_back(icon.get());
  Fl_Window::default_icons(iconList.data(), static_cast<int>(iconList.size()));

  WidgetDump dump;
  FltkShell shell(wizard::CurrentLanguage(), scale, dump);
  wizard::frmMain form(shell, modRegistry::SystemRegistry());
  WizardWindow window(form, scale);
  shell.Attach(form, window);
  dump.SetWindow(&window);

  form.Form_Load();
  window.Show();
  dump.Write();
  Fl::run();
  return wizard::kExitSuccess;
}

}  // namespace fltk_frontend
