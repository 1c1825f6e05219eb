#pragma once

#include <functional>

namespace zelvano {

// Lets pending painting, timers and posted messages run, but no user input: clicks and keys wait
// in the queue until the command under way has ended. A request to quit is left for the main loop.
void DoEvents();

// Runs `work` on a worker thread and returns when it is done. Meanwhile the window keeps painting
// as DoEvents lets it, and `tick`, when given, runs on the window's thread every tenth of a second
// and once at the end. What `work` throws is thrown here.
void RunOffThread(const std::function<void()>& work, const std::function<void()>& tick = {});

} // namespace zelvano
