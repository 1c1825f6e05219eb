#pragma once

#include "state/Context.h"

namespace zelvano {

// The selection handling: previews the selected picture, loads it into Picture1, shows its path,
// size and position, and hands a vanished or unreadable file to the stale-entry clean-up. The
// window runs it for a user's change of the selection, SelectEntry for the program's.
void List1_Click(Context& c);

} // namespace zelvano
