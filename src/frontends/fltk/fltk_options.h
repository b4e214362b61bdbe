// FLTK's options (focus box, tooltips, ...) without its preferences files.
#pragma once

namespace fltk_frontend {

// Sets FLTK's options to the values FLTK ships with. Called before any
// other FLTK call: FLTK would otherwise read them from /etc/fltk and
// ~/.fltk on first use and write those files back, outside the game folder.
void UseShippedOptions();

}  // namespace fltk_frontend
