#include "x_window_id.h"

#include <FL/x.H>

namespace fltk_frontend {

std::string XWindowIdText(const Fl_Window& window) {
  // FLTK 1.3 takes these windows as non-const; nothing is changed.
  auto& shown = const_cast<Fl_Window&>(window);
  if (!shown.shown()) return "0";
  return std::to_string(static_cast<unsigned long>(fl_xid(&shown)));
}

}  // namespace fltk_frontend
