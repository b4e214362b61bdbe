#include "events.h"

#include "windows_api.h"
#include "wizard/frm_main.h"

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

int DefaultButton(const wizard::FormModel& model) {
  int finish = model.IndexOf("cmdNav", wizard::kNavFinish);
  if (finish >= 0 && model.Controls[static_cast<size_t>(finish)].Enabled) return finish;
  return model.IndexOf("cmdNav", wizard::kNavNext);
}

}  // namespace win32_frontend
