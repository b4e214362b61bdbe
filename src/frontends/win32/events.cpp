#include "events.h"

#include "windows_api.h"

namespace win32_frontend {

int ControlId(int position) { return kFirstControlId + position; }

int PositionOfId(const wizard::FormModel& model, int id) {
  int position = id - kFirstControlId;
  if (position < 0 || static_cast<size_t>(position) >= model.Controls.size()) return -1;
  return position;
}

RoutedEvent RouteCommand(const wizard::FormModel& model, int position, unsigned notification,
                         int selectedRow) {
  RoutedEvent event;
  if (position < 0 || static_cast<size_t>(position) >= model.Controls.size()) return event;
  const wizard::Control& control = model.Controls[static_cast<size_t>(position)];
  event.Position = position;
  if (control.Kind == wizard::ControlKind::CommandButton && notification == BN_CLICKED) {
    if (control.Name == "cmdNav") event.Event = FormEvent::NavClick;
    if (control.Name == "btnBrowse") event.Event = FormEvent::BrowseClick;
    event.Index = control.Index.value_or(0);
  } else if (control.Name == "lstCarList" && notification == LBN_SELCHANGE) {
    event.Event = FormEvent::CarListClick;
    event.ListIndex = selectedRow;
  }
  if (event.Event == FormEvent::None) return RoutedEvent{};
  return event;
}

void Deliver(wizard::frmMain& form, const RoutedEvent& event) {
  switch (event.Event) {
    case FormEvent::NavClick:
      form.cmdNav_Click(event.Index);
      break;
    case FormEvent::BrowseClick:
      form.btnBrowse_Click(event.Index);
      break;
    case FormEvent::CarListClick:
      form.Model().Controls[static_cast<size_t>(event.Position)].ListIndex = event.ListIndex;
      form.lstCarList_Click();
      break;
    case FormEvent::None:
      break;
  }
}

}  // namespace win32_frontend
