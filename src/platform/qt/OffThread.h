#pragma once

#include "platform/Window.h"

#include <functional>

namespace zelvano {

// Runs `work` on a thread of its own and waits for it as `wait` allows, or until `cancelled` says
// so. Meanwhile every event of the window runs, and `tick`, when given, runs on the window's thread
// every tenth of a second and once at the end: the caller keeps the user's input from what must not
// be used. Work that did not end Done is left behind, never waited for again. What `work` throws is
// thrown here.
Ending RunOffThread(std::function<void()> work, const std::function<void()>& tick = {}, Wait wait = {},
                    const std::function<bool()>& cancelled = {});

// Whether work is still running that was left behind, or is under way: a program that ends then
// must end at once, or a thread stuck in a silent drive would keep it alive.
bool WorkUnderWay();

} // namespace zelvano
