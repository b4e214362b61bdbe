// The text loader: puts the string table's texts on a window's controls by
// the IDs the controls carry.
#pragma once

#include "wizard/form_model.h"

namespace wizard {

// Applies the texts of the current language to form and all its controls:
// the form's Caption by its Tag, then each control in collection order by
// its type name: a Menu by the ID in its Caption, a TabStrip's tabs, a
// Toolbar's buttons and a ListView's column headers by their Tags, any other
// control's Caption by its Tag and its ToolTipText by the ID in it. Never
// fails: a text that is not numeric, an ID outside 16 bits or missing from
// the table, or a property the control lacks leaves that text as it was,
// and a failure on a control skips the rest of that control (its tool tip).
void LoadFormTexts(FormModel& form);

}  // namespace wizard
