#include "fltk_options.h"

#include <FL/Fl.H>

namespace fltk_frontend {
namespace {

// FLTK 1.3 has no switch for it, only its private "options read" flag. An
// explicit instantiation may name a private member, and the friend it
// defines hands the flag out.
template <unsigned char* Flag>
struct OptionsReadFlag {
  friend unsigned char* FltkOptionsRead() { return Flag; }
};
unsigned char* FltkOptionsRead();
template struct OptionsReadFlag<&Fl::options_read_>;

}  // namespace

void UseShippedOptions() {
  *FltkOptionsRead() = 1;
  Fl::option(Fl::OPTION_ARROW_FOCUS, false);
  Fl::option(Fl::OPTION_VISIBLE_FOCUS, true);
  Fl::option(Fl::OPTION_DND_TEXT, true);
  Fl::option(Fl::OPTION_SHOW_TOOLTIPS, true);
}

}  // namespace fltk_frontend
