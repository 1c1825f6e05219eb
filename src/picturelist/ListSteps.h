#pragma once

#include "app/Context.h"

#include <string>

namespace zelvano {

// The list box shows one page of at most this many names.
inline constexpr int kPageSize = 30;

// Path of the current type's list file.
std::string CurrentListFile(const Context& c);

// Loads the current type's list file into PicList and shows its first page, first entry selected;
// says so when the type has not been scanned yet.
void HentListe(Context& c);

// Rewrites the list file from PicList, leaving out removed rows. On failure the old file stays.
OpResult SaveList(Context& c);

// Makes PicList equal to the list file again; a missing or unreadable file leaves it as it is.
void ReloadList(Context& c);

// Adds the names of the rows PageStart .. PageStart+29 to the list box, up to the first empty row.
void FillPage(Context& c);

// Counter caption: "250 jpg Pictures/ 47".
void ShowCounter(Context& c);

} // namespace zelvano
