// The X11 id of a window, for the test hook. Kept apart because X11's
// headers define macros (None, Status, ...) that clash with our names.
#pragma once

#include <FL/Fl_Window.H>

#include <string>

namespace fltk_frontend {

// The id as decimal text, "0" while the window is not shown.
std::string XWindowIdText(const Fl_Window& window);

}  // namespace fltk_frontend
