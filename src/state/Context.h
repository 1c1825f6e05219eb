#pragma once

#include "platform/Os.h"
#include "platform/Window.h"
#include "state/AppState.h"

namespace zelvano {

// What every handler works on: the shared state and the two seams.
struct Context {
    AppState state;
    Os& os;
    Window& win;
    // The selection handling, which the list steps run when they select an entry. It is set by the
    // program that wires the handlers, so that the list steps need not know the viewing.
    void (*selectionHandling)(Context&) = nullptr;
    // The selection handling is running, and the selection changed again meanwhile.
    bool selecting = false;
    bool selectAgain = false;
};

} // namespace zelvano
