// The Win32 window with the real logic, driven by window messages as a user's clicks and keys
// arrive, its dialogs answered as a user would. Run under Wine on a display.
#include "platform/win32/window/Win32Window.h"

#include "app/FmZelvano.h"
#include "fileops/FileNames.h"
#include "picturelist/ListFile.h"
#include "platform/FileFailure.h"
#include "platform/win32/CodePage.h"
#include "platform/win32/window/MessagePump.h"
#include "support/TestFolder.h"

#include <windows.h>

#include <algorithm>
#include <commctrl.h>
#include <commdlg.h>
#include <cstdio>
#include <deque>
#include <dlgs.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <set>

namespace zelvano {
namespace {

using test::TestFolder;

// One answer to a modal dialog, given its window.
using Step = std::function<void(HWND dialog)>;

// Answers the modal dialogs of this thread, one step for each, in order, from a timer that runs
// inside their own message loops. Whatever is still open after ten seconds is cancelled and the
// test fails, so no test can hang on a dialog.
class Answers {
public:
    explicit Answers(std::deque<Step> steps) : steps_(std::move(steps)) {
        current_ = this;
        timer_ = ::SetTimer(nullptr, 0, 10, Tick);
    }
    Answers(const Answers&) = delete;
    Answers& operator=(const Answers&) = delete;
    ~Answers() {
        ::KillTimer(nullptr, timer_);
        current_ = nullptr;
        EXPECT_TRUE(steps_.empty()) << steps_.size() << " dialogs did not come";
    }

private:
    // Finds the dialog that takes input now: one of this thread's, visible and enabled.
    static BOOL CALLBACK IsOpenDialog(HWND w, LPARAM found) {
        char name[16] = {};
        ::GetClassNameA(w, name, sizeof name);
        const bool open = std::string(name) == "#32770" && ::IsWindowVisible(w) && ::IsWindowEnabled(w);
        if (open) {
            *reinterpret_cast<HWND*>(found) = w;
        }
        return open ? FALSE : TRUE;
    }

    static void CALLBACK Tick(HWND /*hwnd*/, UINT /*message*/, UINT_PTR /*id*/, DWORD /*time*/) {
        Answers* self = current_;
        HWND dialog = nullptr;
        ::EnumThreadWindows(::GetCurrentThreadId(), IsOpenDialog, reinterpret_cast<LPARAM>(&dialog));
        if (self == nullptr || dialog == nullptr || ::IsWindow(self->last_)) {
            return; // nothing to answer, or the dialog answered last is still closing
        }
        if (++self->ticks_ > 1000 || self->steps_.empty()) {
            ADD_FAILURE() << "a dialog was left open";
            ::PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
            return;
        }
        self->last_ = dialog;
        const Step step = std::move(self->steps_.front());
        self->steps_.pop_front();
        step(dialog);
    }

    static inline Answers* current_ = nullptr;
    std::deque<Step> steps_;
    HWND last_ = nullptr;
    UINT_PTR timer_ = 0;
    int ticks_ = 0;
};

std::string TextOf(HWND window) {
    char text[1024] = {};
    ::GetWindowTextA(window, text, sizeof text);
    return text;
}

// Presses a dialog's button, keeping the text a message box showed.
Step Press(int button, std::vector<std::string>* texts = nullptr) {
    return [=](HWND dialog) {
        if (texts != nullptr) {
            texts->push_back(TextOf(::GetDlgItem(dialog, 0xFFFF)));
        }
        ::PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
    };
}

// The input box's edit (100), or the file name of the save dialog.
HWND EditOf(HWND dialog) {
    HWND edit = nullptr;
    for (const int id : {100, cmb13, edt1}) {
        edit = edit != nullptr ? edit : ::GetDlgItem(dialog, id);
    }
    EXPECT_NE(edit, nullptr);
    return edit;
}

// Types into the dialog's edit, keeping what it showed, and presses OK.
Step Type(const std::string& text, std::string* shown = nullptr) {
    return [=](HWND dialog) {
        HWND edit = EditOf(dialog);
        if (shown != nullptr) {
            *shown = TextOf(edit);
        }
        ::SetWindowTextA(edit, text.c_str());
        ::PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    };
}

// Types UTF-16 text, which the code page may not hold, and presses OK.
Step TypeWide(const std::wstring& text) {
    return [=](HWND dialog) {
        ::SetWindowTextW(EditOf(dialog), text.c_str());
        ::PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    };
}

// Keeps the UTF-16 text the dialog's edit shows, and presses Cancel.
Step CancelShowing(std::wstring* shown) {
    return [=](HWND dialog) {
        HWND edit = EditOf(dialog);
        shown->assign(static_cast<std::size_t>(::GetWindowTextLengthW(edit)) + 1, L'\0');
        shown->resize(
            static_cast<std::size_t>(::GetWindowTextW(edit, shown->data(), static_cast<int>(shown->size()))));
        ::PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    };
}

// A list of `count` bitmaps that exist, named p0.jpg, p1.jpg, ... in folder "pics".
std::string Pictures(const TestFolder& dir, int count, const std::string& type) {
    std::string text;
    for (int i = 0; i < count; ++i) {
        const std::string name = "p" + std::to_string(i) + "." + type;
        dir.writeBmp("pics/" + name, 10 + i, 20);
        text += FormatRecord(dir.folder("pics"), name);
    }
    return dir.write("Zelvano" + type + ".log", text);
}

class Win32Window : public ::testing::Test {
protected:
    TestFolder dir;
    test::TestOs os{dir.path()};
    std::unique_ptr<zelvano::Win32Window> window;
    std::unique_ptr<FmZelvano> form;

    void TearDown() override {
        form.reset();
        window.reset();
    }
    const Win32Controls& c() const { return window->controls(); }
    // Starts the program: the window, the handlers, start-up.
    void start() {
        window = std::make_unique<zelvano::Win32Window>();
        form = std::make_unique<FmZelvano>(os, *window);
        window->wire(*form);
        form->Form_Load();
        window->showWindow();
    }
    std::string pictures(int count, const std::string& type = "jpg") { return Pictures(dir, count, type); }
    static void click(const Control& control) { ::SendMessageA(control.hwnd(), BM_CLICK, 0, 0); }
    // Selects an entry as a click on it does: the list box tells its parent of the change.
    void select(int index) {
        HWND list = c().List1->hwnd();
        ::SendMessageA(list, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
        ::SendMessageA(window->hwnd(), WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(list), LBN_SELCHANGE),
                       reinterpret_cast<LPARAM>(list));
    }
    std::vector<std::string> items() const {
        std::vector<std::string> out;
        out.reserve(static_cast<std::size_t>(c().List1->count()));
        for (int i = 0; i < c().List1->count(); ++i) {
            out.push_back(c().List1->item(i));
        }
        return out;
    }
    std::string counter() const { return c().Label2->text(); }
    std::string panel(int part) const { return c().StatusBar1->part(part); }
};

TEST_F(Win32Window, StartUpPicksTheFirstTypeWithAListOrAsksForOne) {
    std::vector<std::string> said;
    {
        const Answers answers({Press(IDOK, &said)});
        start();
    }
    EXPECT_EQ(said, std::vector<std::string>{"Those, the picture format you want to scan fore."});
    EXPECT_FALSE(c().Command1->enabled());
    EXPECT_EQ(window->checkedOption(), -1);
    EXPECT_EQ(c().List1->count(), 0);
    EXPECT_TRUE(::IsWindowVisible(window->hwnd()));

    pictures(3, "bmp");
    pictures(2, "jpeg");
    start();
    EXPECT_EQ(window->checkedOption(), 1) << "jpeg comes before bmp";
    EXPECT_EQ(items(), (std::vector<std::string>{"p0.jpeg", "p1.jpeg"}));
    EXPECT_TRUE(c().Command1->enabled());
    EXPECT_EQ(counter(), "2 jpeg Pictures/ 1");
}

TEST_F(Win32Window, PagingAndWhatASelectionShows) {
    pictures(75);
    start();
    EXPECT_EQ(c().List1->count(), 30);
    EXPECT_EQ(c().List1->selected(), 0);
    EXPECT_EQ(counter(), "75 jpg Pictures/ 1");
    EXPECT_EQ(panel(0), dir.folder("pics") + "p0.jpg");
    EXPECT_EQ(panel(1), "Size: 210 x 360") << "10 x 20 pixels and the border, in twips";
    EXPECT_GT(c().Preview1->shown().width, 0);
    EXPECT_TRUE(c().Command7->enabled());

    click(*c().Command3);
    EXPECT_EQ(items().front(), "p30.jpg");
    EXPECT_EQ(counter(), "75 jpg Pictures/ 31");
    click(*c().Command3);
    EXPECT_EQ(items().size(), 15U);
    EXPECT_EQ(items().back(), "p74.jpg");
    click(*c().Command3); // the last page: nothing happens
    EXPECT_EQ(items().front(), "p60.jpg");
    select(3);
    EXPECT_EQ(counter(), "75 jpg Pictures/ 64");
    EXPECT_EQ(panel(0), dir.folder("pics") + "p63.jpg");
    EXPECT_EQ(panel(1), "Size: 1155 x 360");
    click(*c().Command2);
    EXPECT_EQ(items().front(), "p30.jpg");
    EXPECT_EQ(::GetFocus(), c().List1->hwnd());
}

TEST_F(Win32Window, RenameAndCopy) {
    pictures(3);
    start();
    select(1);
    std::string shown;
    {
        const Answers answers({Type("holiday", &shown)});
        click(*c().Command4);
    }
    EXPECT_EQ(shown, "p1.jpg") << "the current name is offered";
    EXPECT_TRUE(dir.exists("pics/holiday.jpg"));
    EXPECT_EQ(items(), (std::vector<std::string>{"p0.jpg", "holiday.jpg", "p2.jpg"}));

    ::CreateDirectoryA((dir.path() + "\\backup").c_str(), nullptr);
    select(0);
    {
        const Answers answers({Type(dir.folder("backup") + "shot")});
        click(*c().Command6);
    }
    EXPECT_EQ(dir.read("backup/shot.jpg"), dir.read("pics/p0.jpg"));
    EXPECT_EQ(items().back(), "shot.jpg");
}

// A typed name the code page cannot hold exactly is never changed into one it can (a C with a
// circumflex into C): it is refused, and the dialog comes back with what was typed.
TEST_F(Win32Window, ANameTheCodePageCannotHoldIsRefusedAndShownAgain) {
    if (::GetACP() != 1252) {
        GTEST_SKIP() << "the names are chosen for code page 1252";
    }
    pictures(1);
    start();
    const std::wstring typed = L"\u0108at";
    std::vector<std::string> said;
    std::wstring renameShown;
    std::wstring copyShown;
    {
        const Answers answers({TypeWide(typed), Press(IDOK, &said), CancelShowing(&renameShown),
                               TypeWide(WideFromCodePage(dir.folder("pics")).value() + typed),
                               Press(IDOK, &said), CancelShowing(&copyShown)});
        click(*c().Command4);
        click(*c().Command6);
    }
    EXPECT_EQ(said, std::vector<std::string>(2, std::string(kNotWritable)));
    EXPECT_EQ(renameShown, typed);
    EXPECT_TRUE(copyShown.ends_with(typed)) << "the chosen folder may show with it";
    EXPECT_EQ(items(), std::vector<std::string>{"p0.jpg"});
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.folder("pics")), {}), 1)
        << "nothing renamed or copied";
}

// A copy of zelvano.exe in `dir`, which keeps its lists beside it.
std::string CopyOfTheProgram(const TestFolder& dir) {
    char self[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, self, MAX_PATH);
    const std::string exe = dir.path() + "\\zelvano.exe";
    EXPECT_TRUE(::CopyFileA((FolderPart(self, '\\') + "\\" + ZELVANO_EXE).c_str(), exe.c_str(), FALSE));
    return exe;
}

// A running zelvano.exe, ended at the latest when this goes.
class Program {
public:
    explicit Program(std::string exe) {
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        EXPECT_TRUE(::CreateProcessA(exe.c_str(), exe.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                                     &startup, &process_));
    }
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;
    ~Program() {
        if (process_.hProcess != nullptr) {
            ::TerminateProcess(process_.hProcess, 1);
            ::WaitForSingleObject(process_.hProcess, 5000);
            ::CloseHandle(process_.hThread);
            ::CloseHandle(process_.hProcess);
        }
    }
    // Whether it ended by itself within `ms`, with exit code 0.
    bool endedWithin(DWORD ms) const {
        DWORD code = 1;
        return ::WaitForSingleObject(process_.hProcess, ms) == WAIT_OBJECT_0 &&
               ::GetExitCodeProcess(process_.hProcess, &code) && code == 0;
    }
    // Its main window once shown; null when it does not come within five seconds.
    HWND window() const {
        Search search{process_.dwProcessId, nullptr};
        for (int waited = 0; search.found == nullptr && waited < 5000; waited += 20) {
            ::Sleep(20);
            ::EnumWindows(IsMainWindow, reinterpret_cast<LPARAM>(&search));
        }
        return search.found;
    }

private:
    struct Search {
        DWORD process;
        HWND found;
    };
    static BOOL CALLBACK IsMainWindow(HWND w, LPARAM lParam) {
        auto* search = reinterpret_cast<Search*>(lParam);
        DWORD process = 0;
        ::GetWindowThreadProcessId(w, &process);
        char name[32] = {};
        ::GetClassNameA(w, name, sizeof name);
        if (process == search->process && std::string(name) == kMainWindowClass && ::IsWindowVisible(w)) {
            search->found = w;
            return FALSE;
        }
        return TRUE;
    }

    PROCESS_INFORMATION process_{};
};

// Two copies for one list folder would write its lists over each other: a second start brings the
// running window to the front and ends, touching no list.
TEST_F(Win32Window, ASecondStartShowsTheRunningWindowAndEnds) {
    const std::string exe = CopyOfTheProgram(dir);
    const std::string list = pictures(1);
    const std::string before = TestFolder::slurp(list);
    const Program first(exe);
    HWND running = first.window();
    ASSERT_NE(running, nullptr);
    ::ShowWindow(running, SW_MINIMIZE);

    const ULONGLONG started = ::GetTickCount64();
    const Program second(exe);
    EXPECT_TRUE(second.endedWithin(10000));
    while ((::GetForegroundWindow() != running || ::IsIconic(running)) &&
           ::GetTickCount64() - started < 10000) {
        ::Sleep(5);
    }
    std::printf("second start to the first window in front: %llu ms\n", ::GetTickCount64() - started);
    EXPECT_EQ(::GetForegroundWindow(), running);
    EXPECT_FALSE(::IsIconic(running));
    EXPECT_EQ(TestFolder::slurp(list), before);
}

// Waits until `condition` holds, at most five seconds, while this thread's own windows keep
// working. Whether it came.
bool Soon(const std::function<bool()>& condition) {
    const ULONGLONG end = ::GetTickCount64() + 5000;
    while (!condition()) {
        if (::GetTickCount64() > end) {
            return false;
        }
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        for (MSG msg; ::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE);) {
            ::DispatchMessageA(&msg);
        }
    }
    return true;
}

// The Linux path of a file on one of Wine's drives.
std::string UnixPath(const std::string& path) {
    using Convert = char*(CDECL*)(const WCHAR*);
    const auto convert = reinterpret_cast<Convert>(reinterpret_cast<void (*)()>(
        ::GetProcAddress(::GetModuleHandleA("kernel32"), "wine_get_unix_file_name")));
    char* unix = convert != nullptr ? convert(WideFromCodePage(path).value().c_str()) : nullptr;
    const std::string converted = unix != nullptr ? unix : "";
    ::HeapFree(::GetProcessHeap(), 0, unix);
    return converted;
}

// The real program in a folder of its own with its lists, driven by key presses and clicks that
// the X server delivers, as a user's arrive: xdotool, on the display of Wine's windows. What the
// program does is read from outside, as any other program can: its windows, their texts, the
// focus of its thread and its list files.
class AtTheKeys : public ::testing::Test {
protected:
    enum Id : int { kList = 100, kScan = 101, kRename = 104, kJpg = 111, kLabel1 = 120, kCounter = 121 };

    TestFolder dir;
    std::unique_ptr<Program> program;
    HWND main = nullptr;

    void start() {
        program = std::make_unique<Program>(CopyOfTheProgram(dir));
        main = program->window();
        ASSERT_NE(main, nullptr);
    }
    HWND control(int id) const { return ::GetDlgItem(main, id); }
    std::string counter() const { return TextOf(control(kCounter)); }
    GUITHREADINFO gui() const {
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        ::GetGUIThreadInfo(::GetWindowThreadProcessId(main, nullptr), &info);
        return info;
    }
    HWND focus() const { return gui().hwndFocus; }
    bool focusOn(int id) const {
        return Soon([&] { return focus() == control(id); });
    }
    bool counterSays(const std::string& text) const {
        return Soon([&] { return counter() == text; });
    }
    std::string read(const std::string& file) const { return TestFolder::slurp(dir.path() + "\\" + file); }

    // Runs xdotool with `args` on the display in DISPLAY. Wine starts a Linux program named by its
    // path, with this environment, but gives no handle to wait on; so xdotool runs in a shell that
    // leaves a mark, with its exit code, when it has ended.
    void xdo(const std::string& args) const {
        const std::string mark = dir.path() + "\\xdotool.done";
        ::DeleteFileA(mark.c_str());
        std::string command = "/bin/sh -c \"xdotool " + args + "; echo $? >'" + UnixPath(mark) + "'\"";
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION started{};
        ASSERT_TRUE(::CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                                     &startup, &started));
        for (HANDLE handle : {started.hProcess, started.hThread}) {
            if (handle != nullptr) {
                ::CloseHandle(handle);
            }
        }
        ASSERT_TRUE(Soon([&] { return TestFolder::slurp(mark).ends_with("\n"); })) << args;
        EXPECT_EQ(TestFolder::slurp(mark), "0\n") << args;
    }
    void keys(const std::string& keys) const { xdo("key " + keys); }
    void click(HWND window) const {
        RECT r{};
        ::GetWindowRect(window, &r);
        xdo("mousemove " + std::to_string((r.left + r.right) / 2) + " " +
            std::to_string((r.top + r.bottom) / 2) + " click 1");
    }
    // Waits for a message or input box to take the keys, types `typed` and presses `pressed` there,
    // and waits for it to go and the window to take the keys again. Its text, or its prompt. With
    // no window manager, Wine now and then leaves its desktop in front when a box goes (X refuses
    // its late request to give the keys back); then a click on the window's label brings the window
    // back, as a user would, and the focus must come back all the same.
    std::string answer(const std::string& pressed, const std::string& typed = {}) const {
        HWND box = nullptr;
        if (!Soon([&] {
                box = gui().hwndActive;
                char name[16] = {};
                ::GetClassNameA(box, name, sizeof name);
                return std::string(name) == "#32770" && ::IsChild(box, focus());
            })) {
            ADD_FAILURE() << "no box came";
            return {};
        }
        const std::string text = TextOf(::GetDlgItem(box, 0xFFFF));
        if (!typed.empty()) {
            xdo("type " + typed);
        }
        keys(pressed);
        const auto back = [&] {
            return ::IsChild(main, focus());
        };
        EXPECT_TRUE(Soon([&] { return !::IsWindow(box) && (back() || gui().hwndActive == nullptr); }));
        if (!back() && gui().hwndActive == nullptr) {
            click(control(kLabel1));
        }
        EXPECT_TRUE(Soon(back)) << text;
        return text;
    }
};

// Each type can be chosen again, in any order, by a click or by the arrow keys within the group,
// the type of start-up too; a click on the type shown changes nothing.
TEST_F(AtTheKeys, EveryTypeCanBeChosenAgainInAnyOrder) {
    Pictures(dir, 2, "jpg");
    Pictures(dir, 3, "bmp");
    start();
    ASSERT_TRUE(counterSays("2 jpg Pictures/ 1"));
    const auto notScanned = [](const std::string& type) {
        return "There have not been Scanned fore " + type + " pictures. Click on 'Scan disk/disks'.";
    };
    const auto option = [&](int i) {
        return control(kJpg + i);
    };
    click(option(2));
    EXPECT_TRUE(counterSays("3 bmp Pictures/ 1"));
    click(option(3));
    EXPECT_EQ(answer("Return"), notScanned("gif"));
    EXPECT_TRUE(counterSays("0 gif Pictures/ 0"));
    click(option(3)); // a box would hold back the clicks below
    for (const auto& [type, shown] : {std::pair{2, "3 bmp Pictures/ 1"}, {0, "2 jpg Pictures/ 1"}}) {
        click(option(type));
        EXPECT_TRUE(counterSays(shown)) << shown;
    }

    keys("Right");
    EXPECT_EQ(answer("Return"), notScanned("jpeg"));
    keys("Right");
    EXPECT_TRUE(counterSays("3 bmp Pictures/ 1"));
    keys("Left");
    EXPECT_EQ(answer("Return"), notScanned("jpeg"));
    keys("Left");
    EXPECT_TRUE(counterSays("2 jpg Pictures/ 1"));
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(::SendMessageA(option(i), BM_GETCHECK, 0, 0), i == 0 ? BST_CHECKED : BST_UNCHECKED) << i;
    }
}

// Without the mouse: the list has the keys at start-up, Tab goes round the controls, and the
// control that had the focus has it again after every box and when the window is activated again.
TEST_F(AtTheKeys, AKeyboardOnlySession) {
    Pictures(dir, 3, "jpg");
    start();
    ASSERT_TRUE(focusOn(kList));
    keys("Down");
    EXPECT_TRUE(counterSays("3 jpg Pictures/ 2"));
    keys("Delete");
    EXPECT_EQ(answer("Tab Return"), "Do you want to delete p1.jpg?") << "No";
    ASSERT_TRUE(focusOn(kList));
    keys("alt+Delete");
    EXPECT_EQ(answer("Tab Return"), "Do you want to delete p1.jpg?");
    keys("BackSpace");
    EXPECT_EQ(answer("Return"), "Do you want to delete p1.jpg?") << "Yes";
    EXPECT_TRUE(counterSays("2 jpg Pictures/ 2"));
    EXPECT_FALSE(dir.exists("pics/p1.jpg"));
    EXPECT_EQ(read("Zelvanojpg.log").find("p1.jpg"), std::string::npos);

    // The order of the controls on the window; of the type buttons only the checked one.
    for (const int id : {101, 102, 103, 104, 105, 106, 108, int{kJpg}, 107, int{kList}}) {
        keys("Tab");
        EXPECT_TRUE(focusOn(id)) << id;
    }
    keys("Tab Tab Tab Tab");
    ASSERT_TRUE(focusOn(kRename));
    keys("space");
    EXPECT_EQ(answer("Return", "holiday"), "Write the new name fore this picture.");
    EXPECT_TRUE(Soon([&] { return dir.exists("pics/holiday.jpg"); }));
    ASSERT_TRUE(focusOn(kList)) << "on the renamed picture";
    keys("Tab Tab Tab Tab Return");
    answer("Escape");
    EXPECT_TRUE(focusOn(kRename));

    // Another program's window comes to the front, then this one again by a click on its label.
    const std::unique_ptr<std::remove_pointer_t<HWND>, decltype(&::DestroyWindow)> other(
        ::CreateWindowExA(0, "BUTTON", "another program", WS_POPUP | WS_VISIBLE, 0, 0, 160, 60, nullptr,
                          nullptr, nullptr, nullptr),
        ::DestroyWindow);
    click(other.get());
    ASSERT_TRUE(Soon([&] { return ::GetForegroundWindow() == other.get(); }));
    click(control(kLabel1));
    EXPECT_TRUE(focusOn(kRename));
}

// While a scan runs the keys are its Cancel button's: Escape, Enter, Space and Alt+F4 end the scan
// at once, as a click on Cancel does, and leave the list as it was; none ends the program. A scan
// of every drive takes seconds under Wine, whose drive Z: is the whole Linux file system.
TEST_F(AtTheKeys, KeysDuringAScanCancelIt) {
    Pictures(dir, 1, "jpg");
    const std::string list = read("Zelvanojpg.log");
    start();
    for (const std::string key : {"Escape", "Return", "space", "alt+F4", "a click"}) {
        click(control(kScan));
        HWND wait = nullptr;
        ASSERT_TRUE(Soon([&] {
            wait = ::FindWindowA("ZelvanoWait", nullptr);
            return wait != nullptr && focus() == ::GetDlgItem(wait, IDCANCEL);
        })) << key;
        const ULONGLONG pressed = ::GetTickCount64();
        key == "a click" ? click(::GetDlgItem(wait, IDCANCEL)) : keys(key);
        EXPECT_TRUE(Soon([&] { return !::IsWindow(wait) && ::IsWindowEnabled(control(kScan)); })) << key;
        std::printf("%s to the window taking input: %llu ms\n", key.c_str(), ::GetTickCount64() - pressed);
        EXPECT_EQ(read("Zelvanojpg.log"), list) << "the scan ended before " << key;
        EXPECT_TRUE(counterSays("1 jpg Pictures/ 1")) << key;
        EXPECT_FALSE(program->endedWithin(0)) << key;
    }
}

TEST_F(Win32Window, PrintWithoutAPrinterSaysSo) {
    if (Printer::Installed()) {
        GTEST_SKIP() << "this system has a printer";
    }
    pictures(1);
    start();
    std::vector<std::string> said;
    {
        const Answers answers({Press(IDOK, &said)});
        click(*c().Command7);
    }
    EXPECT_EQ(said, std::vector<std::string>{"No printer is installed on this computer."});
}

TEST_F(Win32Window, AScanOfASmallTree) {
    dir.writeBmp("tree/z.jpg", 4, 4);
    dir.writeBmp("tree/a/x.jpg", 4, 4);
    dir.writeBmp("tree/b/y.JPG", 4, 4);
    dir.writeBmp("tree/b/no.png", 4, 4);
    os.drives = {dir.folder("tree")};
    {
        const Answers answers({Press(IDOK), Press(IDOK)});
        start();
        click(*c().Option[0]);
    }
    click(*c().Command1);
    const std::vector<std::string> found = items();
    ASSERT_EQ(found.size(), 3U);
    EXPECT_EQ(found[0], "z.jpg") << "a folder's own pictures come first";
    EXPECT_EQ(std::set<std::string>(found.begin() + 1, found.end()),
              (std::set<std::string>{"x.jpg", "y.JPG"}));
    EXPECT_EQ(counter(), "3 Pictures/ 1");
    EXPECT_EQ(::FindWindowA("ZelvanoWait", nullptr), nullptr) << "the wait window is closed";
    PicTable listed;
    ParseList(dir.read("Zelvanojpg.log"), listed);
    EXPECT_EQ(listed.count(), 3U);
}

// A name in the 8-bit code page that is not ASCII goes through the window, the disk and the list
// file and back unchanged.
TEST_F(Win32Window, ANameOfTheCodePageSurvivesARenameAndAReload) {
    const std::string cafe = "caf\xE9.jpg";
    dir.writeBmp("pics/" + cafe, 4, 4);
    dir.write("Zelvanojpg.log", FormatRecord(dir.folder("pics"), cafe));
    start();
    EXPECT_EQ(items(), std::vector<std::string>{cafe});
    EXPECT_EQ(panel(0), dir.folder("pics") + cafe);
    std::string shown;
    {
        const Answers answers({Type("\xE9t\xE9", &shown)});
        click(*c().Command4);
    }
    EXPECT_EQ(shown, cafe);
    EXPECT_TRUE(dir.exists("pics/\xE9t\xE9.jpg"));
    start();
    EXPECT_EQ(items(), std::vector<std::string>{"\xE9t\xE9.jpg"});
    EXPECT_EQ(dir.read("Zelvanojpg.log"), FormatRecord(dir.folder("pics"), "\xE9t\xE9.jpg"));
}

TEST_F(Win32Window, MenusAndTheCloseBoxEndTheProgram) {
    pictures(1);
    start();
    const auto quitAsked = [] {
        MSG msg;
        return ::PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != FALSE;
    };
    ::SendMessageA(window->hwnd(), WM_COMMAND, kMenuUpdate, 0);
    EXPECT_EQ(os.opened.size(), 1U);
    EXPECT_FALSE(quitAsked());
    for (const auto& [message, wParam] :
         {std::pair<UINT, WPARAM>{WM_COMMAND, kMenuExit}, {WM_CLOSE, 0}, {BM_CLICK, 0}}) {
        ::SendMessageA(message == BM_CLICK ? c().Command8->hwnd() : window->hwnd(), message, wParam, 0);
        EXPECT_TRUE(quitAsked()) << message;
    }
}

// The wait window's text stays on one line with this system's fonts: its label would wrap a longer
// one and cut its end.
TEST(WaitWindow, ItsTextFitsOnOneLine) {
    const WaitWindow wait(nullptr, 96, nullptr);
    HWND label = ::GetWindow(wait.hwnd(), GW_CHILD);
    RECT needed{};
    ::GetClientRect(label, &needed);
    HDC dc = ::GetDC(label);
    ::SelectObject(dc, reinterpret_cast<HGDIOBJ>(::SendMessageA(label, WM_GETFONT, 0, 0)));
    ::DrawTextA(dc, TextOf(label).c_str(), -1, &needed, DT_CALCRECT | DT_WORDBREAK | DT_CENTER);
    TEXTMETRICA font{};
    ::GetTextMetricsA(dc, &font);
    ::ReleaseDC(label, dc);
    EXPECT_EQ(needed.bottom - needed.top, font.tmHeight);
}

// A photo stored on its side is shown upright: where each stored pixel goes, by orientation.
TEST(WinPicture, UprightByOrientation) {
    const Pixels stored{3, 2, {0, 1, 2, 3, 4, 5}}; // two rows of three
    const std::vector<std::pair<int, std::vector<std::uint32_t>>> cases = {
        {1, {0, 1, 2, 3, 4, 5}}, {2, {2, 1, 0, 5, 4, 3}}, {3, {5, 4, 3, 2, 1, 0}}, {4, {3, 4, 5, 0, 1, 2}},
        {5, {0, 3, 1, 4, 2, 5}}, {6, {3, 0, 4, 1, 5, 2}}, {7, {5, 2, 4, 1, 3, 0}}, {8, {2, 5, 1, 4, 0, 3}},
    };
    for (const auto& [orientation, upright] : cases) {
        const Pixels turned = Upright(stored, orientation);
        EXPECT_EQ(turned.bgra, upright) << orientation;
        EXPECT_EQ(turned.width, orientation >= 5 ? 2 : 3) << orientation;
    }
}

TEST(WinPicture, MissingOnlyWhenItsFolderIsThere) {
    TestFolder dir;
    EXPECT_EQ(ReadWinPicture(dir.path() + "\\gone.jpg", {}).result.failure, Failure::NotFound);
    EXPECT_EQ(ReadWinPicture(dir.path() + "\\gone\\a.jpg", {}).result.failure, Failure::Other);
}

TEST(RememberedRead, ReadsAgainOnlyWhatChanged) {
    TestFolder dir;
    const std::string path = dir.writeBmp("a.bmp", 4, 4);
    int reads = 0;
    const auto reader = [&](const std::string& file, PixelSize bound) {
        ++reads;
        return ReadWinPicture(file, bound);
    };
    RememberedRead memory;
    EXPECT_EQ(memory.read(path, {8, 8}, reader).image.width, 4);
    EXPECT_EQ(memory.read(path, {8, 8}, reader).image.width, 4);
    EXPECT_EQ(reads, 1);
    memory.read(path, {2, 2}, reader); // another bound
    dir.writeBmp("a.bmp", 6, 4);       // another picture
    EXPECT_EQ(memory.read(path, {2, 2}, reader).uprightSize, (PixelSize{6, 4}));
    EXPECT_EQ(reads, 3);
}

} // namespace
} // namespace zelvano

int main(int argc, char* argv[]) {
    ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_BAR_CLASSES};
    ::InitCommonControlsEx(&controls);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
