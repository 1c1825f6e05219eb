#pragma once

#include "platform/FailureTolerantRun.h"
#include "state/Context.h"

namespace zelvano {

// The selected entry's file has vanished. Yes takes its record off the list and leaves the path
// alone. The selection handling ends after this.
void MissingFileCleanup(Context& c);

// The selected entry's file is not a picture. Returns whether the selection handling goes on.
bool NotAPictureCleanup(Context& c, FailureTolerantRun& run);

} // namespace zelvano
