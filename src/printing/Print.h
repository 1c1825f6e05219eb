#pragma once

#include "app/Context.h"

namespace zelvano {

// "Print": after the printer dialog, prints the picture Picture1 holds on one page, at its own
// size when it fits, else scaled down to fit. The window's unit is pixels afterwards.
void Command7_Click(Context& c);

} // namespace zelvano
