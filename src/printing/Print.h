#pragma once

#include "state/Context.h"

namespace zelvano {

// "Print": after the printer dialog, prints the selected picture on one page, at its own size when
// it fits, else scaled down to fit. A selected picture that could not be loaded or decoded is not
// printed, and the user is told why. The window's unit is pixels afterwards.
void Command7_Click(Context& c);

} // namespace zelvano
