#pragma once

// The operating-system seam of the system this is built for.
#if defined(_WIN32)
#include "platform/win32/WinOs.h"
namespace zelvano {
using NativeOs = WinOs;
}
#else
#include "platform/posix/PosixOs.h"
namespace zelvano {
using NativeOs = PosixOs;
}
#endif
