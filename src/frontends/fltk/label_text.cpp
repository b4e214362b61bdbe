#include "label_text.h"

namespace fltk_frontend {

std::string LabelText(std::string_view text) {
  std::string label;
  label.reserve(text.size());
  for (char c : text) {
    if (c == '@') label += '@';
    label += c;
  }
  return label;
}

std::string ShownText(std::string_view label) {
  std::string text;
  text.reserve(label.size());
  for (size_t i = 0; i < label.size(); ++i) {
    text += label[i];
    if (label[i] == '@' && i + 1 < label.size() && label[i + 1] == '@') ++i;
  }
  return text;
}

std::string FolderFromChooser(std::string path) {
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  return path;
}

}  // namespace fltk_frontend
