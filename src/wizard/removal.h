// --remove: takes this installer's car out of a game folder again, worked
// out from the installer's own package, so the install records nothing.
#pragma once

#include "wizard/frm_main.h"
#include "wizard/unattended.h"

namespace wizard {

// The removal's own exit status: nothing of the car is in the game folder.
inline constexpr int kExitNotInstalled = 7;

// Removes the car of form's package from form.GameFolder: its lines from
// the shared scripts, its entry from the list, then its files and the
// folders they leave empty. The top-level lines stay: every other car's
// lines hang off them. Returns the exit status.
int RemoveCar(frmMain& form, ConsoleOutput& output);

}  // namespace wizard
