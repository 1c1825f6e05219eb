#pragma once

#include "app/AppState.h"
#include "platform/Os.h"
#include "platform/Window.h"

namespace zelvano {

// What every handler works on: the shared state and the two seams.
struct Context {
    AppState state;
    Os& os;
    Window& win;
    // The selection handling is running, and the selection changed again meanwhile.
    bool selecting = false;
    bool selectAgain = false;
};

} // namespace zelvano
