#pragma once

#include <functional>

namespace zelvano {

// Runs `work` on a worker thread and returns when it is done. Meanwhile the window keeps painting
// but takes no user input, so no other command can start; `tick`, when given, runs on the
// window's thread every tenth of a second.
void RunOffThread(const std::function<void()>& work, const std::function<void()>& tick = {});

} // namespace zelvano
