#include "platform/win32/window/Win32Window.h"

#include "app/ProductInfo.h"

#include <commctrl.h>

namespace zelvano {

namespace {

constexpr int kIconId = 1; // in the program's resources

// Places and sizes in twips, as the window was designed; client area 11550 x 7665.
struct Twips {
    int left, top, width, height;
};
constexpr Twips kClient{0, 0, 11550, 7665};
constexpr Twips kFrame1{4440, 6900, 2955, 435};

// Control ids: the buttons' are 101 to 108, the option buttons' 111 to 115.
enum ControlId : int {
    kList1 = 100,
    kCommand = 100,
    kOption = 110,
    kLabel1 = 120,
    kLabel2,
    kFrame1Id,
    kStatus,
    kPicture3,
    kPreview1
};

int ScreenDpi() {
    HDC screen = ::GetDC(nullptr);
    const int dpi = ::GetDeviceCaps(screen, LOGPIXELSX);
    ::ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : 96;
}

// The system's message font, which dialogs use too.
HFONT MessageFont() {
    NONCLIENTMETRICSA metrics{};
    metrics.cbSize = sizeof metrics;
    if (::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) {
        return ::CreateFontIndirectA(&metrics.lfMessageFont);
    }
    return static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
}

// The menu bar: File > Exit, and the web page of updates.
HMENU Menus() {
    HMENU bar = ::CreateMenu();
    HMENU file = ::CreatePopupMenu();
    ::AppendMenuA(file, MF_STRING, kMenuExit, "Exit");
    ::AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), "&File");
    HMENU about = ::CreatePopupMenu();
    ::AppendMenuA(about, MF_STRING, kMenuUpdate, "Look fore Brimlet update");
    ::AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(about), "&Abut Brimlet");
    return bar;
}

constexpr DWORD kStyle =
    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_CLIPCHILDREN;

} // namespace

Win32Window::Win32Window() : dpi_(ScreenDpi()), font_(MessageFont()) {
    RegisterWindowClass(kMainWindowClass, Proc, IDC_ARROW, 0,
                        ::LoadIconA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(kIconId)));
    RECT frame{0, 0, px(kClient.width), px(kClient.height)};
    ::AdjustWindowRectEx(&frame, kStyle, TRUE, 0);
    hwnd_ = ::CreateWindowExA(0, kMainWindowClass, std::string(kWindowCaption).c_str(), kStyle, CW_USEDEFAULT,
                              CW_USEDEFAULT, frame.right - frame.left, frame.bottom - frame.top, nullptr,
                              Menus(), ::GetModuleHandleA(nullptr), this);
    buildControls();
}

Win32Window::~Win32Window() {
    vent_.reset();
    c_ = {};
    ::DestroyWindow(hwnd_);
    ::DeleteObject(font_);
}

int Win32Window::px(int twips) const {
    return ::MulDiv(twips, dpi_, 1440);
}

void Win32Window::buildControls() {
    const auto args = [this](Twips t, int id, const char* text = "", DWORD style = 0) {
        return ControlArgs{hwnd_, text, {px(t.left), px(t.top), px(t.left + t.width), px(t.top + t.height)},
                           font_, id,   style};
    };
    const auto inFrame = [](Twips t) {
        return Twips{kFrame1.left + t.left, kFrame1.top + t.top, t.width, t.height};
    };
    // Made in the order of the Tab key, which is the order of the controls on the window.
    c_.List1 = std::make_unique<ListBox>(args({60, 480, 2100, 5910}, kList1, "", WS_GROUP));
    c_.Command1 = std::make_unique<PushButton>(args({360, 6960, 1395, 375}, kCommand + 1, "Scan disk/disks"));
    c_.Command1->setEnabled(false);
    c_.Command2 = std::make_unique<PushButton>(args({60, 6480, 1035, 375}, kCommand + 2, "Previous 30"));
    c_.Command3 = std::make_unique<PushButton>(args({1080, 6480, 1095, 375}, kCommand + 3, "Next 30"));
    c_.Command4 = std::make_unique<PushButton>(args({8340, 6960, 795, 375}, kCommand + 4, "Rename"));
    c_.Command5 = std::make_unique<PushButton>(args({9180, 6960, 735, 375}, kCommand + 5, "Delete"));
    c_.Label1 = std::make_unique<Label>(args({240, 60, 1755, 315}, kLabel1, "Picture names"));
    c_.Command6 = std::make_unique<PushButton>(args({9960, 6960, 735, 375}, kCommand + 6, "Copy"));
    c_.Command8 = std::make_unique<PushButton>(args({10740, 6960, 735, 375}, kCommand + 8, "Exit"));
    c_.Frame1 = std::make_unique<GroupBox>(args(kFrame1, kFrame1Id, "Picture format"));
    c_.Option[0] =
        std::make_unique<RadioButton>(args(inFrame({60, 180, 555, 195}), kOption + 1, "jpg", WS_GROUP));
    c_.Option[1] = std::make_unique<RadioButton>(args(inFrame({600, 180, 675, 195}), kOption + 2, "jpeg"));
    c_.Option[2] = std::make_unique<RadioButton>(args(inFrame({1260, 180, 615, 195}), kOption + 3, "bmp"));
    c_.Label2 = std::make_unique<Label>(args({2100, 7020, 2235, 255}, kLabel2));
    c_.StatusBar1 = std::make_unique<StatusBar>(args({0, 7380, 11550, 285}, kStatus), px(1650));
    c_.Picture3 = std::make_unique<Label>(args({6000, 6360, 1695, 315}, kPicture3), RGB(238, 238, 238));
    c_.Preview1 = std::make_unique<PreviewPane>(args({2220, 60, 9255, 6795}, kPreview1));
    c_.Command7 = std::make_unique<PushButton>(args({7500, 6960, 795, 375}, kCommand + 7, "Print"));
    c_.Option[3] = std::make_unique<RadioButton>(args(inFrame({1920, 180, 615, 195}), kOption + 4, "gif"));
    c_.Option[4] = std::make_unique<RadioButton>(args(inFrame({2460, 180, 435, 195}), kOption + 5, "tif"));
    // The frame lies under its buttons, or it would hide them; it takes no part in the Tab order.
    ::SetWindowPos(c_.Frame1->hwnd(), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void Win32Window::wire(FmZelvano& form) {
    handlers_.attach(form);
    c_.Command1->onClick = handlers_.forward(&FmZelvano::Command1_Click);
    c_.Command2->onClick = handlers_.forward(&FmZelvano::Command2_Click);
    c_.Command3->onClick = handlers_.forward(&FmZelvano::Command3_Click);
    c_.Command4->onClick = handlers_.forward(&FmZelvano::Command4_Click);
    c_.Command5->onClick = handlers_.forward(&FmZelvano::Command5_Click);
    c_.Command6->onClick = handlers_.forward(&FmZelvano::Command6_Click);
    c_.Command7->onClick = handlers_.forward(&FmZelvano::Command7_Click);
    c_.Command8->onClick = handlers_.forwardExit(&FmZelvano::Command8_Click);
    // The drive a picture is on, as the handlers' own waits name it.
    driveOf_ = [&os = form.context().os](const std::string& path) {
        return os.driveOf(path);
    };
    for (int i = 0; i < static_cast<int>(c_.Option.size()); ++i) {
        c_.Option[static_cast<std::size_t>(i)]->onChecked = [this, i] {
            optionChecked(i);
        };
    }
    c_.List1->onSelectionChanged = handlers_.forward(&FmZelvano::List1_Click);
    // The system's key codes of Delete and Backspace are the handler's own.
    c_.List1->onDeleteKey = [this](int key, int shift) {
        handlers_.run([key, shift](FmZelvano& f) { f.List1_KeyDown(key, shift); });
    };
}

void Win32Window::load() {
    handlers_.run([](FmZelvano& form) { form.Form_Load(); });
}

int Win32Window::run() {
    MSG msg{};
    while (::GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (!::IsDialogMessageA(hwnd_, &msg)) { // the Tab and arrow keys move between the controls
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
    }
    return static_cast<int>(msg.wParam);
}

void Win32Window::optionChecked(int option) {
    if (option == shownOption_) {
        return; // a click or Space on the type shown changes nothing
    }
    shownOption_ = option;
    handlers_.run([option](FmZelvano& f) { f.OptionClick(option); });
}

void Win32Window::rememberFocus() {
    HWND focus = ::GetFocus();
    if (focus != nullptr && ::IsChild(hwnd_, focus)) {
        focused_ = focus;
    }
}

bool Win32Window::restoreFocus() {
    for (HWND target : {focused_, c_.List1->hwnd()}) {
        if (target != nullptr && ::IsWindow(target) && ::IsWindowEnabled(target) &&
            ::IsWindowVisible(target)) {
            ::SetFocus(target);
            return true;
        }
    }
    return false; // in a scan: the window keeps the keys itself, and Escape cancels
}

LRESULT CALLBACK Win32Window::Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        ::SetWindowLongPtrA(
            hwnd, GWLP_USERDATA,
            reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams));
    }
    auto* self = reinterpret_cast<Win32Window*>(::GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (self == nullptr || self->hwnd_ == nullptr) {
        return ::DefWindowProcA(hwnd, message, wParam, lParam);
    }
    return self->handle(message, wParam, lParam);
}

LRESULT Win32Window::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        if (lParam != 0) { // from a control: to its wrapper
            if (Control* control = Control::From(reinterpret_cast<HWND>(lParam))) {
                control->command(HIWORD(wParam));
            }
        } else if (handlers_.attached() && LOWORD(wParam) == kMenuExit) {
            handlers_.forwardExit (&FmZelvano::meExit_Click)();
        } else if (handlers_.attached() && LOWORD(wParam) == kMenuUpdate) {
            handlers_.run([](FmZelvano& f) { f.meUpdate_Click(); });
        } else if (LOWORD(wParam) == IDCANCEL) {
            handlers_.cancel(); // Escape in the main window while a scan runs
        }
        return 0;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
        if (Control* control = Control::From(reinterpret_cast<HWND>(lParam))) {
            if (HBRUSH brush = control->background(reinterpret_cast<HDC>(wParam))) {
                return reinterpret_cast<LRESULT>(brush);
            }
        }
        break;
    case WM_ACTIVATE:
        // The system would give the focus to the window itself, where the keys do nothing.
        if (LOWORD(wParam) == WA_INACTIVE) {
            rememberFocus();
        } else if (HIWORD(wParam) == 0 && restoreFocus()) { // not minimized
            return 0;
        }
        break;
    case WM_SIZE:
        if (c_.StatusBar1) {
            c_.StatusBar1->dock();
        }
        return 0;
    case WM_SETCURSOR:
        if (busy_) {
            ::SetCursor(::LoadCursorA(nullptr, IDC_WAIT));
            return TRUE;
        }
        break;
    case WM_CLOSE:
        // As Exit: it waits until the command under way has ended, but ends a scan at once.
        if (handlers_.mayClose()) {
            quit();
        }
        return 0;
    default:
        break;
    }
    return ::DefWindowProcA(hwnd_, message, wParam, lParam);
}

} // namespace zelvano
