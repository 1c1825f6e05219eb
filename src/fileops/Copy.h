#pragma once

#include "state/Context.h"

namespace zelvano {

// "Copy": copies the selected picture to a place chosen in a save-as dialog and lists a new copy
// at the end of the list file.
void Command6_Click(Context& c);

} // namespace zelvano
