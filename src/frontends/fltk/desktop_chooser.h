// The desktop's own folder chooser (zenity, kdialog), run as a child
// process: players find their folders there as everywhere else.
#pragma once

#include <optional>
#include <string>

namespace fltk_frontend {

enum class DesktopPick { Chosen, Cancelled, Unavailable };

struct DesktopPickResult {
  DesktopPick Outcome = DesktopPick::Unavailable;
  std::string Folder;
};

// Asks the first desktop chooser on PATH, starting in startFolder (any when
// empty). Unavailable when none is there or it could not run (did not
// start, crashed, failed), so the caller can offer its own.
DesktopPickResult PickWithDesktopChooser(const std::string& title, const std::string& startFolder);

}  // namespace fltk_frontend
