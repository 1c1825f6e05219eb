#include "app/FmZelvano.h"
#include "app/ProductInfo.h"
#include "platform/NativeOs.h"
#include "platform/Worker.h"
#include "platform/win32/window/SingleInstance.h"
#include "platform/win32/window/Win32Window.h"

#include <windows.h>

#include <commctrl.h>
#include <objbase.h>
#include <string>

int WINAPI WinMain(HINSTANCE /*instance*/, HINSTANCE /*previous*/, LPSTR /*commandLine*/, int /*show*/) {
    zelvano::NativeOs os;
    const zelvano::SingleInstance copy(os.listFileFolder());
    if (!copy.first()) {
        // This copy ends either way, its lists untouched; a start that brings nothing forward would
        // look to the user as if it had failed, so it says why.
        if (!copy.showFirst()) {
            ::MessageBoxA(nullptr, std::string(zelvano::kRunningButSilent).c_str(),
                          std::string(zelvano::kProgramTitle).c_str(), MB_OK | MB_ICONEXCLAMATION);
        }
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
    const int code = zelvano::Worker::EndOfProgram(window.run());
    ::CoUninitialize();
    return code;
}
