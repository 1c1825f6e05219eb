#pragma once

#include "platform/Window.h"

#include <windows.h>

#include <functional>

namespace zelvano {

// Lets pending painting, timers and posted messages run, but no user input: clicks and keys wait
// in the queue until the command under way has ended. A request to quit is left for the main loop.
void DoEvents();

// Lets every pending message run, user input too. The keys of dialogs (Tab, Escape) go to the
// window they were meant for, the wait window among them.
void PumpAll();

// Lets pending painting, timers and posted messages run, and of the user's input only what ends the
// program: clicks on `exit`, on `window`'s frame (its close box, its menus) and the system's keys
// (Alt+F4). Other clicks and keys wait in the queue, in order, until the command has ended.
void PumpHoldingInput(HWND exit, HWND window);

// Runs `work` on a thread of its own and waits for it as `wait` allows, or until `cancelled` says
// so. Meanwhile `pump` lets the window's messages run as the window allows, and `tick`, when
// given, runs every tenth of a second and once at the end. Work that did not end Done is left
// behind, never waited for again. What `work` throws is thrown here.
Ending RunOffThread(std::function<void()> work, const std::function<void()>& tick, Wait wait,
                    const std::function<bool()>& cancelled, const std::function<void()>& pump);

// Whether work is still running that was left behind, or is under way: a program that ends then
// must end at once, or a thread stuck in a silent drive would keep it alive.
bool WorkUnderWay();

} // namespace zelvano
