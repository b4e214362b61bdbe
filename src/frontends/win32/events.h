// From a child window's notification to frmMain's one entry point for
// clicks. The window procedures only decode the message and hand it over.
#pragma once

#include "wizard/form_model.h"

namespace win32_frontend {

// Child window IDs are the control's position in the model plus this
// (clear of IDOK and IDCANCEL, which the dialog manager sends for Enter
// and Escape).
inline constexpr int kFirstControlId = 1000;

int ControlId(int position);
// The model position for a child window ID, or -1.
int PositionOfId(const wizard::FormModel& model, int id);

// Whether a WM_COMMAND notification from a control of kind is the player's
// click: a button pushed, or another row picked in a list box.
bool IsClick(wizard::ControlKind kind, unsigned notification);

// The button Enter presses when the focus is on no button: Finish once it
// is enabled, Next before.
int DefaultButton(const wizard::FormModel& model);

// VB-style reasons for a close request, passed on to Form_QueryUnload.
inline constexpr int16_t kUnloadFromControlMenu = 0;  // close box, system menu, Alt+F4
inline constexpr int16_t kUnloadFromWindows = 2;      // the session is ending

}  // namespace win32_frontend
