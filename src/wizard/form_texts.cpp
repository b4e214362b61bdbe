#include "wizard/form_texts.h"

#include <utility>

#include "wizard/numeric_text.h"
#include "wizard/string_table.h"

namespace wizard {
namespace {

// The table's text for the number written in idText; nullopt stands for the
// error the lookup raises (no 16-bit number, no such ID).
std::optional<std::string> TextForId(const std::string& idText) {
  std::optional<int16_t> id = TextToInteger16(idText);
  if (!id) return std::nullopt;
  return TryLoadResString(*id);
}

// Sets target from the ID in idText; false when that failed.
bool LoadInto(const std::string& idText, std::string& target) {
  std::optional<std::string> text = TextForId(idText);
  if (!text) return false;
  target = std::move(*text);
  return true;
}

void LoadMenu(Control& menu) {
  // A menu item carries its ID in its caption.
  if (IsNumeric(menu.Caption)) LoadInto(menu.Caption, menu.Caption);
}

void LoadTabs(Control& tabStrip) {
  for (CollectionItem& tab : tabStrip.Items) {
    bool errorPending = false;
    if (IsNumeric(tab.Tag)) errorPending = !LoadInto(tab.Tag, tab.Caption);
    if (IsNumeric(tab.ToolTipText) && !errorPending) LoadInto(tab.ToolTipText, tab.ToolTipText);
  }
}

void LoadToolbarButtons(Control& toolbar) {
  for (CollectionItem& button : toolbar.Items) {
    if (IsNumeric(button.Tag)) LoadInto(button.Tag, button.ToolTipText);
  }
}

void LoadColumnHeaders(Control& listView) {
  for (CollectionItem& header : listView.Items) {
    if (IsNumeric(header.Tag)) LoadInto(header.Tag, header.Text);
  }
}

// Any failure on the caption (bad number, missing ID, no Caption property)
// stays pending and keeps the tool tip from loading; reading a ToolTipText
// the control lacks is itself a failure.
void LoadCaptionAndToolTip(Control& control) {
  bool errorPending = false;
  if (IsNumeric(control.Tag)) {
    std::optional<std::string> text = TextForId(control.Tag);
    if (!text || !KindHasCaption(control.Kind)) {
      errorPending = true;
    } else {
      control.Caption = std::move(*text);
    }
  }
  if (!KindHasToolTipText(control.Kind)) return;
  if (IsNumeric(control.ToolTipText) && !errorPending) LoadInto(control.ToolTipText, control.ToolTipText);
}

}  // namespace

void LoadFormTexts(FormModel& form) {
  if (IsNumeric(form.Form.Tag)) LoadInto(form.Form.Tag, form.Form.Caption);

  for (Control& control : form.Controls) {
    std::string_view type = TypeName(control.Kind);
    if (type == "Menu") {
      LoadMenu(control);
    } else if (type == "TabStrip") {
      LoadTabs(control);
    } else if (type == "Toolbar") {
      LoadToolbarButtons(control);
    } else if (type == "ListView") {
      LoadColumnHeaders(control);
    } else {
      LoadCaptionAndToolTip(control);
    }
  }
}

}  // namespace wizard
