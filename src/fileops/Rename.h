#pragma once

#include "state/Context.h"

namespace zelvano {

// "Rename": gives the selected picture a new name typed by the user, in the same folder.
void Command4_Click(Context& c);

} // namespace zelvano
