// From a child window's notification to the frmMain handler it stands for.
// The window procedures only decode the message and hand it over here.
#pragma once

#include <cstdint>

#include "wizard/frm_main.h"

namespace win32_frontend {

// Child window IDs are the control's position in the model plus this
// (clear of IDOK and IDCANCEL, which the dialog manager sends for Enter
// and Escape).
inline constexpr int kFirstControlId = 1000;

int ControlId(int position);
// The model position for a child window ID, or -1.
int PositionOfId(const wizard::FormModel& model, int id);

enum class FormEvent { None, NavClick, BrowseClick, CarListClick };

struct RoutedEvent {
  FormEvent Event = FormEvent::None;
  int16_t Index = 0;   // control array index (cmdNav, btnBrowse)
  int Position = -1;   // the control in the model
  int ListIndex = -1;  // the list box's selected row (CarListClick)
  bool operator==(const RoutedEvent&) const = default;
};

// What a WM_COMMAND notification code from Controls[position] means.
// selectedRow is the list box's selection when the control is one.
RoutedEvent RouteCommand(const wizard::FormModel& model, int position, unsigned notification,
                         int selectedRow);

// Calls the handler; a list click first records the player's selection in
// the model, as the list box's own property would hold it.
void Deliver(wizard::frmMain& form, const RoutedEvent& event);

// VB-style reasons for a close request, passed on to Form_QueryUnload.
inline constexpr int16_t kUnloadFromControlMenu = 0;  // close box, system menu, Alt+F4
inline constexpr int16_t kUnloadFromWindows = 2;      // the session is ending

}  // namespace win32_frontend
