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
};

} // namespace zelvano
