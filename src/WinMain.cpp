#include "app/FmZelvano.h"
#include "platform/NativeOs.h"
#include "platform/win32/window/SingleInstance.h"
#include "platform/win32/window/Win32Window.h"

#include <windows.h>

#include <commctrl.h>
#include <objbase.h>

int WINAPI WinMain(HINSTANCE /*instance*/, HINSTANCE /*previous*/, LPSTR /*commandLine*/, int /*show*/) {
    zelvano::NativeOs os;
    const zelvano::SingleInstance copy(os.listFileFolder());
    if (!copy.first()) {
        copy.showFirst(); // this copy ends either way, its lists untouched
        return 0;
    }
    ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); // the picture decoders and the shell
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_BAR_CLASSES};
    ::InitCommonControlsEx(&controls);

    zelvano::Win32Window window;
    copy.mark(window.hwnd());
    zelvano::FmZelvano form(os, window);
    window.wire(form);
    window.load();
    window.showWindow();
    const int code = window.run();
    ::CoUninitialize();
    return code;
}
