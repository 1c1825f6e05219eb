#pragma once

#include "app/Context.h"

#include <string>

namespace zelvano {

// The selection handling: previews the selected picture, loads it into Picture1, shows its path,
// size and position, and hands a vanished or unreadable file to the stale-entry clean-up.
void List1_Click(Context& c);

// Selects a list-box entry as a user's click would: the selection handling runs when the
// selection changes, and not when the entry is already the selected one.
void SelectEntry(Context& c, int index);

// Folder of the selected row followed by the selected entry's text; empty when nothing is selected.
std::string SelectedPath(const Context& c);

} // namespace zelvano
