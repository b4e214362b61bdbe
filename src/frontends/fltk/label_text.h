// Texts handed to FLTK labels. FLTK reads "@" in a label as the start of a
// symbol name, so a path or message holding one would lose characters.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace fltk_frontend {

// text as a label that FLTK draws as it stands.
std::string LabelText(std::string_view text);

// What a label made by LabelText shows.
std::string ShownText(std::string_view label);

// path as it fits width, by measure's widths: unchanged when it fits, or
// shortened in the middle with "...", never inside a UTF-8 character. The
// start and the last name with its separators stay whole where they fit
// beside the ellipsis; a name too long for that keeps its start and end.
std::string ShortenedPath(std::string_view path, int width,
                          const std::function<int(std::string_view)>& measure);

// The folder FLTK's chooser returned, in the form the wizard expects: no
// trailing separator, except for the root itself.
std::string FolderFromChooser(std::string path);

}  // namespace fltk_frontend
