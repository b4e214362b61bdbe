#include "events.h"

#include "windows_api.h"

namespace win32_frontend {

int ControlId(int position) { return kFirstControlId + position; }

int PositionOfId(const wizard::FormModel& model, int id) {
  int position = id - kFirstControlId;
  if (position < 0 || static_cast<size_t>(position) >= model.Controls.size()) return -1;
  return position;
}

bool IsClick(wizard::ControlKind kind, unsigned notification) {
  switch (kind) {
    case wizard::ControlKind::CommandButton:
      return notification == BN_CLICKED;
    case wizard::ControlKind::ListBox:
      return notification == LBN_SELCHANGE;
    default:
      return false;
  }
}

}  // namespace win32_frontend
