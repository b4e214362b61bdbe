#include "widget_dump.h"

#include <cstdio>
#include <cstdlib>

#include "message_box.h"
#include "wizard_window.h"

namespace fltk_frontend {

WidgetDump::WidgetDump() {
  const char* path = std::getenv("RIGBOX_DUMP_WIDGETS");
  if (path != nullptr) path_ = path;
}

void WidgetDump::Write() const {
  if (path_.empty()) return;
  std::string text;
  if (window_ != nullptr) window_->Describe(text);
  if (dialog_ != nullptr) dialog_->Describe(text);
  text += chooser_;
  std::string temporary = path_ + ".new";
  std::FILE* file = std::fopen(temporary.c_str(), "wb");
  if (file == nullptr) return;
  bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
  if (std::fclose(file) == 0 && written) std::rename(temporary.c_str(), path_.c_str());
}

std::string DumpField(std::string_view text) {
  std::string field;
  for (char c : text) {
    switch (c) {
      case '\t':
        field += "\\t";
        break;
      case '\n':
        field += "\\n";
        break;
      case '\\':
        field += "\\\\";
        break;
      default:
        field += c;
    }
  }
  return field;
}

}  // namespace fltk_frontend
