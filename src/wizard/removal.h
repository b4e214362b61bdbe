// --remove: takes this installer's car out of a game folder again, worked
// out from the install record the car's folder keeps, or, for a car
// installed without one, from the installer's own package.
#pragma once

#include "wizard/frm_main.h"
#include "wizard/unattended.h"

namespace wizard {

// The removal's own exit status: nothing of the car is in the game folder.
inline constexpr int kExitNotInstalled = 7;

// Removes the car of form's package from form.GameFolder: its lines from
// the shared scripts, its entry from the list, then its files unchanged
// since the install, the record, and the folders they leave empty. The
// top-level lines stay: every other car's lines hang off them. What it
// says on console goes to form.Log too. Returns the exit status.
int RemoveCar(frmMain& form, ConsoleOutput& console);

}  // namespace wizard
