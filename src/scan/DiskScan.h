#pragma once

#include "app/Context.h"

namespace zelvano {

// Fills DriveList with the roots of the volumes to search, emptied first.
void ListDrives(Context& c);

// Searches every drive for files of PicType into PicList. Returns false when more were found
// than PicList holds.
bool ScanDisk(Context& c);

// "Scan disk/disks": searches every drive behind the wait window, writes the type's list file
// and shows its first page.
void Command1_Click(Context& c);

} // namespace zelvano
