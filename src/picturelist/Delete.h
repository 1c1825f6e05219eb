#pragma once

#include "state/Context.h"

namespace zelvano {

// "Delete": deletes the selected picture after a question and removes its record; the user stays
// on the same page with the entry at the same place selected.
void Command5_Click(Context& c);

// The list box's keys: Backspace and Delete, with any modifier, run Command5_Click.
void List1_KeyDown(Context& c, int keyCode, int shift);

} // namespace zelvano
