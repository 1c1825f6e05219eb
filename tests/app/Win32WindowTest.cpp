// The Win32 window with the real logic, driven by window messages as a user's clicks and keys
// arrive, its dialogs answered as a user would; and the real program under key presses and clicks
// that the X server delivers. Run under Wine on a display.
#include "platform/win32/window/Win32Window.h"

#include "app/FmZelvano.h"
#include "app/ProductInfo.h"
#include "fileops/FileNames.h"
#include "picturelist/ListFile.h"
#include "platform/DriveWait.h"
#include "platform/FileFailure.h"
#include "platform/ScopeExit.h"
#include "platform/win32/CodePage.h"
#include "platform/win32/window/SingleInstance.h"
#include "support/TestFolder.h"

#include <windows.h>

#include <commctrl.h>
#include <dlgs.h>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <sstream>

namespace zelvano {
namespace {

std::wstring Wide(std::string_view bytes) {
    return WideFromCodePage(bytes).value();
}

std::wstring TextOf(HWND window) {
    wchar_t text[1024] = {};
    ::GetWindowTextW(window, text, 1024);
    return text;
}

// An answer to a modal dialog: a button, pressed after the text, unless empty, is typed in its edit.
using Answer = std::pair<int, std::wstring>;

// Does `act`, answering the modal dialogs of this thread in order from a timer that runs inside
// their own message loops. What each showed: the text its edit offered (the input box's, or the
// file name of the save dialog), or a message box's text. A dialog that comes when no answer is
// left is cancelled and the test fails, so that no test waits on it.
struct {
    std::vector<Answer> answers;
    std::vector<std::wstring> shown;
    HWND last;
} now;

// A timer's callback: CALLBACK, which is not a lambda's calling convention on 32-bit Windows.
void CALLBACK AnswerTheDialog(HWND, UINT, UINT_PTR, DWORD) {
    HWND dialog = nullptr; // the one that takes input: one of this thread's, visible and enabled
    while ((dialog = ::FindWindowExW(nullptr, dialog, L"#32770", nullptr)) != nullptr &&
           (::GetWindowThreadProcessId(dialog, nullptr) != ::GetCurrentThreadId() ||
            !::IsWindowVisible(dialog) || !::IsWindowEnabled(dialog))) {
    }
    if (dialog == nullptr || ::IsWindow(now.last)) {
        return; // nothing to answer, or the dialog answered last is still closing
    }
    if (now.shown.size() == now.answers.size()) {
        ADD_FAILURE() << "a dialog came that was not expected";
        now.answers.emplace_back(IDCANCEL, L"");
    }
    HWND edit = nullptr;
    for (const int id : {100, cmb13, edt1, 0xFFFF}) {
        edit = edit != nullptr ? edit : ::GetDlgItem(dialog, id);
    }
    const auto& [button, typed] = now.answers[now.shown.size()];
    now.last = dialog;
    now.shown.push_back(TextOf(edit));
    if (!typed.empty()) {
        ::SetWindowTextW(edit, typed.c_str());
    }
    ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
}

std::vector<std::wstring> Answering(std::vector<Answer> answers, const std::function<void()>& act) {
    now = {std::move(answers), {}, nullptr};
    const UINT_PTR timer = ::SetTimer(nullptr, 0, 10, AnswerTheDialog);
    act();
    ::KillTimer(nullptr, timer);
    EXPECT_EQ(now.shown.size(), now.answers.size()) << "dialogs that did not come";
    return std::move(now.shown);
}

// A list of `count` bitmaps that exist, named p0.jpg, p1.jpg, ... in folder "pics".
void Pictures(const test::TestFolder& dir, int count, const std::string& type) {
    std::string text;
    for (int i = 0; i < count; ++i) {
        const std::string name = "p" + std::to_string(i) + "." + type;
        dir.writeBmp("pics/" + name, 10 + i, 20);
        text += FormatRecord(dir.folder("pics"), name);
    }
    dir.write("Zelvano" + type + ".log", text);
}

// The window and the handlers in this process, on a system whose drives the test chooses.
class Win32Window : public ::testing::Test {
protected:
    test::TestFolder dir;
    test::TestOs os{dir.path()};
    std::unique_ptr<zelvano::Win32Window> window;
    std::unique_ptr<FmZelvano> form; // goes before the window

    const Win32Controls& c() const { return window->controls(); }
    // Starts the program: the window, the handlers, start-up.
    void start() {
        window = std::make_unique<zelvano::Win32Window>();
        form = std::make_unique<FmZelvano>(os, *window);
        window->wire(*form);
        form->Form_Load();
        window->showWindow();
    }
    static void click(const Control& control) { ::SendMessageA(control.hwnd(), BM_CLICK, 0, 0); }
};

// Without a list the window asks for a type, and the type chosen can be scanned for. The scan's
// order and what it finds are the scan's own tests'; the box a type without a list brings, the real
// program's below. Later, with a list of 75: what a selection shows, on a later page too (the steps
// from page to page are the paging's own tests'), printing without a printer, and every way out.
TEST_F(Win32Window, AFirstStartAScanThenASelectionPrintAndTheWaysOut) {
    dir.writeBmp("tree/a/x.jpeg", 4, 4);
    os.drives = {dir.folder("tree")};
    const auto said = Answering({{IDOK, L""}, {IDOK, L""}}, [&] {
        start();
        EXPECT_FALSE(c().Command1->enabled());
        EXPECT_EQ(window->checkedOption(), -1);
        click(*c().Option[1]);
    });
    EXPECT_EQ(said.at(0), L"Those, the picture format you want to scan fore.");
    EXPECT_EQ(c().List1->count(), 0);
    click(*c().Command1);
    EXPECT_EQ(c().List1->item(0), "x.jpeg");
    EXPECT_EQ(c().Label2->text(), "1 Pictures/ 1");
    EXPECT_EQ(::FindWindowA("ZelvanoWait", nullptr), nullptr) << "the wait window is closed";

    Pictures(dir, 75, "jpg");
    start();
    EXPECT_EQ(c().Label2->text(), "75 jpg Pictures/ 1");
    EXPECT_EQ(c().StatusBar1->part(0), dir.folder("pics") + "p0.jpg");
    EXPECT_EQ(c().StatusBar1->part(1), "Size: 210 x 360") << "10 x 20 pixels and the border, in twips";
    EXPECT_GT(c().Preview1->shown().width, 0);
    EXPECT_TRUE(c().Command7->enabled());

    click(*c().Command3);
    click(*c().Command3);
    // A click on an entry: the list box tells its parent of the change.
    HWND list = c().List1->hwnd();
    ::SendMessageA(list, LB_SETCURSEL, 3, 0);
    ::SendMessageA(window->hwnd(), WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(list), LBN_SELCHANGE),
                   reinterpret_cast<LPARAM>(list));
    EXPECT_EQ(c().Label2->text(), "75 jpg Pictures/ 64");
    EXPECT_EQ(c().StatusBar1->part(0), dir.folder("pics") + "p63.jpg");
    EXPECT_EQ(c().StatusBar1->part(1), "Size: 1155 x 360");
    click(*c().Command2);
    EXPECT_EQ(::GetFocus(), list);

    if (!Printer::Installed()) {
        EXPECT_EQ(Answering({{IDOK, L""}}, [&] { click(*c().Command7); }),
                  std::vector<std::wstring>{Wide(kNoPrinter)});
    }
    // The menu item of updates opens their web page; File > Exit, the close box and Exit end the
    // program.
    for (MSG quit; const auto& [message, wParam] : std::vector<std::pair<UINT, WPARAM>>{
                       {WM_COMMAND, kMenuUpdate}, {WM_COMMAND, kMenuExit}, {WM_CLOSE, 0}, {BM_CLICK, 0}}) {
        ::SendMessageA(message == BM_CLICK ? c().Command8->hwnd() : window->hwnd(), message, wParam, 0);
        EXPECT_EQ(::PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != FALSE, wParam != kMenuUpdate)
            << message;
    }
    EXPECT_EQ(os.opened.size(), 1U);
}

// The largest list and a 50-megapixel picture, which the 32-bit program holds in 2 GB of address
// space beside its window: the list loads whole, and the picture is previewed and measured.
TEST_F(Win32Window, TheLargestListAndAFiftyMegapixelPicture) {
    dir.writeBmp("pics/large.bmp", 8660, 5774);
    std::string list = FormatRecord(dir.folder("pics"), "large.bmp");
    const std::string other = FormatRecord(dir.folder("pics"), "other.bmp");
    for (int i = 1; i < 500000; ++i) {
        list += other;
    }
    dir.write("Zelvanobmp.log", list);
    start();
    EXPECT_EQ(c().Label2->text(), "500000 bmp Pictures/ 1");
    EXPECT_EQ(c().StatusBar1->part(1), "Size: 129960 x 86670");
    EXPECT_GT(c().Preview1->shown().width, 0);
}

// A name in the 8-bit code page that is not ASCII goes through the window, its dialogs, the disk and
// the list file and back unchanged. A typed name the code page cannot hold exactly is never changed
// into one it can (a C with a circumflex into C): it is refused, and the dialog comes back with what
// was typed.
TEST_F(Win32Window, NamesOfTheCodePageGoThroughAndOthersAreRefused) {
    if (::GetACP() != 1252) {
        GTEST_SKIP() << "the names are chosen for code page 1252";
    }
    const std::string cafe = "caf\xE9.jpg";
    const std::string ete = "\xE9t\xE9.jpg";
    const std::wstring typed = L"\u0108at";
    dir.writeBmp("pics/" + cafe, 4, 4);
    dir.write("Zelvanojpg.log", FormatRecord(dir.folder("pics"), cafe));
    std::filesystem::create_directory(dir.folder("backup"));
    start();
    EXPECT_EQ(c().List1->item(0), cafe);
    EXPECT_EQ(c().StatusBar1->part(0), dir.folder("pics") + cafe);
    // A rename and a copy refused, shown again and cancelled; then a rename and a copy.
    const std::wstring backup = Wide(dir.folder("backup"));
    const std::vector<Answer> answers = {
        {IDOK, typed}, {IDOK, L""},     {IDCANCEL, L""},          {IDOK, backup + typed},
        {IDOK, L""},   {IDCANCEL, L""}, {IDOK, L"\u00E9t\u00E9"}, {IDOK, backup + L"shot"}};
    auto shown = Answering(answers, [&] {
        for (int i = 0; i < 2; ++i) {
            click(*c().Command4);
            click(*c().Command6);
        }
    });
    EXPECT_TRUE(shown.at(5).ends_with(typed)) << "the chosen folder may show with it";
    shown.at(5) = typed;
    EXPECT_EQ(shown, (std::vector<std::wstring>{Wide(cafe), Wide(kNotWritable), typed, Wide(cafe),
                                                Wide(kNotWritable), typed, Wide(cafe), Wide(ete)}))
        << "the current name is offered";
    EXPECT_EQ(dir.read("backup/shot.jpg"), dir.read("pics/" + ete));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.folder("backup")), {}), 1);
    start();
    EXPECT_EQ(c().List1->item(0), ete);
    EXPECT_EQ(c().List1->item(1), "shot.jpg");
    EXPECT_EQ(dir.read("Zelvanojpg.log"),
              FormatRecord(dir.folder("pics"), ete) + FormatRecord(dir.folder("backup"), "shot.jpg"));
}

// Waits until `condition` holds, at most `ms`, while this thread's own windows keep working. Whether
// it came.
bool Soon(const std::function<bool()>& condition, ULONGLONG ms = 5000) {
    for (const ULONGLONG end = ::GetTickCount64() + ms; ::GetTickCount64() < end;) {
        if (condition()) {
            return true;
        }
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        for (MSG msg; ::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE);) {
            ::DispatchMessageA(&msg);
        }
    }
    return condition();
}

// Starts `command`, a Windows program or a Linux one named by its path, in `folder` when given. Only
// a Windows program's handles are any to use or close: for a Linux program Wine leaves in them
// whatever was there before, at times a handle this process holds for itself.
PROCESS_INFORMATION Start(std::string command, const std::string& folder = {}) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    EXPECT_TRUE(::CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                 folder.empty() ? nullptr : folder.c_str(), &startup, &started))
        << command;
    return started;
}

// The real program, a copy in a folder of its own with its lists, driven by key presses and clicks
// that the X server delivers, as a user's arrive: xdotool, on the display of Wine's windows. What
// the program does is read from outside, as any other program can: its windows, their texts, the
// focus of its thread and its list files.
class AtTheKeys : public ::testing::Test {
protected:
    enum Id : int {
        kList = 100,
        kScan = 101,
        kRename = 104,
        kPrint = 107,
        kJpg = 111,
        kLabel1 = 120,
        kCounter = 121
    };

    test::TestFolder dir;
    std::string exe = dir.path() + "\\zelvano.exe";
    std::vector<HANDLE> copies; // of the program, ended at the latest with the test
    HWND main = nullptr;

    void TearDown() override {
        for (HANDLE copy : copies) {
            ::TerminateProcess(copy, 1);
            ::WaitForSingleObject(copy, 5000);
            ::CloseHandle(copy);
        }
    }
    // Puts the program where `exe` names it.
    void copyProgram() const {
        char self[MAX_PATH] = {};
        ::GetModuleFileNameA(nullptr, self, MAX_PATH);
        ASSERT_TRUE(::CopyFileA((FolderPart(self, '\\') + "\\" + ZELVANO_EXE).c_str(), exe.c_str(), FALSE));
    }
    // Copies the program into the test's folder, starts it, and waits until its window shows and
    // `ready` holds.
    void startProgram(const std::function<bool()>& ready = [] { return true; }) {
        ASSERT_NO_FATAL_FAILURE(copyProgram());
        EXPECT_FALSE(startEnds(0));
        ASSERT_TRUE(Soon([&] {
            main = ::FindWindowA(kMainWindowClass, nullptr);
            return ::IsWindowVisible(main) && ready();
        }));
    }
    // Starts a copy of the program. Whether it ends by itself within `ms`, with exit code 0.
    bool startEnds(DWORD ms) {
        const PROCESS_INFORMATION started = Start('"' + exe + '"');
        ::CloseHandle(started.hThread);
        copies.push_back(started.hProcess);
        DWORD code = 1;
        return ::WaitForSingleObject(copies.back(), ms) == WAIT_OBJECT_0 &&
               ::GetExitCodeProcess(copies.back(), &code) && code == 0;
    }
    HWND control(int id) const { return ::GetDlgItem(main, id); }
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
    bool back() const { return ::IsChild(main, focus()); }

    // Runs a shell command in the test's folder. The shell is named by its drive Z: path: a Linux
    // path would have Wine look through every drive letter for it, a silent one too.
    void shell(const std::string& command) const {
        const PROCESS_INFORMATION started = Start("Z:\\bin\\sh -c \"" + command + "\"", dir.path());
        ::CloseHandle(started.hThread);
        ::CloseHandle(started.hProcess);
    }
    // Runs xdotool with `args` on the display in DISPLAY. Wine gives no handle to wait on for a
    // Linux program, so xdotool runs in a shell that leaves a mark in the test's folder, with its exit
    // code, when it has ended.
    void xdo(const std::string& args) const {
        ::DeleteFileA((dir.path() + "\\xdotool.done").c_str());
        shell("xdotool " + args + "; echo $? >xdotool.done");
        ASSERT_TRUE(Soon([&] { return dir.read("xdotool.done").ends_with("\n"); })) << args;
        EXPECT_EQ(dir.read("xdotool.done"), "0\n") << args;
    }
    void keys(const std::string& keys) const { xdo("key " + keys); }
    void click(HWND window) const {
        RECT r{};
        ::GetWindowRect(window, &r);
        xdo("mousemove " + std::to_string((r.left + r.right) / 2) + " " +
            std::to_string((r.top + r.bottom) / 2) + " click 1");
    }
    // Waits for a message or input box to take the keys, presses `pressed` there, and waits for it
    // to go and the window to take the keys again. Its text, or its prompt. With no window manager,
    // Wine now and then leaves its desktop in front when a box goes (X refuses its late request to
    // give the keys back); then a click on the window's label brings the window back, as a user
    // would, and the focus must come back all the same.
    std::wstring answer(const std::string& pressed) const {
        HWND box = nullptr;
        if (!Soon([&] {
                box = gui().hwndActive;
                return ::GetClassLongPtrW(box, GCW_ATOM) == 32770 && ::IsChild(box, focus());
            })) {
            ADD_FAILURE() << "no box came";
            return {};
        }
        const std::wstring text = TextOf(::GetDlgItem(box, 0xFFFF));
        keys(pressed);
        EXPECT_TRUE(Soon([&] { return !::IsWindow(box) && (back() || gui().hwndActive == nullptr); }));
        if (!back() && gui().hwndActive == nullptr) {
            click(control(kLabel1));
        }
        EXPECT_TRUE(Soon([&] { return back(); })) << text;
        return text;
    }
};

// A session without the mouse, then with it: the list has the keys at start-up, Tab goes round the
// controls, and the control that had the focus has it again after every box and when the window is
// activated again. Then the types, the keys during a scan, and a second start of the program.
TEST_F(AtTheKeys, ASession) {
    Pictures(dir, 3, "jpg");
    Pictures(dir, 3, "bmp");
    ASSERT_NO_FATAL_FAILURE(startProgram());
    ASSERT_TRUE(focusOn(kList));
    keys("Down");
    EXPECT_TRUE(Soon([&] { return TextOf(control(kCounter)) == L"3 jpg Pictures/ 2"; }));
    // No, No, then Yes: Delete, Alt+Delete and Alt+Backspace all ask. The deletion itself is the
    // deletion's own tests'.
    for (const auto& [key, answered] :
         {std::pair{"Delete", "Tab Return"}, {"alt+Delete", "Tab Return"}, {"BackSpace", "Return"}}) {
        keys(key);
        EXPECT_EQ(answer(answered), L"Do you want to delete p1.jpg?") << key;
        ASSERT_TRUE(focusOn(kList));
    }
    EXPECT_TRUE(Soon([&] { return TextOf(control(kCounter)) == L"2 jpg Pictures/ 2"; }));

    // The order of the controls on the window; of the type buttons only the checked one.
    for (const int id : {101, 102, 103, 104, 105, 106, 108, int{kJpg}, 107, int{kList}}) {
        keys("Tab");
        EXPECT_TRUE(focusOn(id)) << id;
    }
    keys("Tab Tab Tab Tab");
    ASSERT_TRUE(focusOn(kRename));
    keys("space");
    EXPECT_EQ(answer("h o l i d a y Return"), L"Write the new name fore this picture.");
    EXPECT_TRUE(Soon([&] { return dir.exists("pics/holiday.jpg"); }));
    ASSERT_TRUE(focusOn(kList)) << "on the renamed picture";
    keys("Tab Tab Tab Tab Return");
    answer("Escape");
    EXPECT_TRUE(focusOn(kRename));

    // Another program's window comes to the front, then this one again by a click on its label.
    HWND other = ::CreateWindowExA(0, "BUTTON", "another program", WS_POPUP | WS_VISIBLE, 0, 0, 160, 60,
                                   nullptr, nullptr, nullptr, nullptr);
    click(other);
    ASSERT_TRUE(Soon([&] { return ::GetForegroundWindow() == other; }));
    click(control(kLabel1));
    EXPECT_TRUE(focusOn(kRename));
    ::DestroyWindow(other);

    // Each type can be chosen again, in any order, by a click or by the arrow keys within the group,
    // the type of start-up too: the box a type without a list brings, and the counter after it. A
    // click on the type shown changes nothing: no box holds back the clicks after it.
    const std::vector<std::tuple<std::string, std::wstring, std::wstring>> choices = {
        {"2", L"", L"3 bmp Pictures/ 1"},     {"3", L"gif", L"0 gif Pictures/ 0"},
        {"3", L"", L"0 gif Pictures/ 0"},     {"2", L"", L"3 bmp Pictures/ 1"},
        {"0", L"", L"2 jpg Pictures/ 1"},     {"Right", L"jpeg", L"0 jpeg Pictures/ 0"},
        {"Right", L"", L"3 bmp Pictures/ 1"}, {"Left", L"jpeg", L"0 jpeg Pictures/ 0"},
        {"Left", L"", L"2 jpg Pictures/ 1"}};
    for (const auto& [chosen, unlisted, counter] : choices) {
        chosen.size() == 1 ? click(control(kJpg + chosen[0] - '0')) : keys(chosen);
        if (!unlisted.empty()) {
            EXPECT_EQ(answer("Return"), L"There have not been Scanned fore " + unlisted +
                                            L" pictures. Click on 'Scan disk/disks'.");
        }
        EXPECT_TRUE(Soon([&] { return TextOf(control(kCounter)) == counter; })) << chosen;
    }
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(::SendMessageA(control(kJpg + i), BM_GETCHECK, 0, 0), i == 0 ? BST_CHECKED : BST_UNCHECKED)
            << i;
    }

    // While a scan runs the keys are its Cancel button's: Escape, Enter, Space and Alt+F4 end the
    // scan at once, as a click on Cancel does, and leave the list as it was; none ends the program.
    // A scan of every drive takes seconds under Wine, whose drive Z: is the whole Linux file system.
    const std::string list = dir.read("Zelvanojpg.log");
    for (const std::string key : {"Escape", "Return", "space", "alt+F4", "a click"}) {
        click(control(kScan));
        HWND wait = nullptr;
        ASSERT_TRUE(Soon([&] {
            wait = ::FindWindowA("ZelvanoWait", nullptr);
            return wait != nullptr && focus() == ::GetDlgItem(wait, IDCANCEL);
        })) << key;
        key == "a click" ? click(::GetDlgItem(wait, IDCANCEL)) : keys(key);
        EXPECT_TRUE(Soon([&] { return !::IsWindow(wait) && ::IsWindowEnabled(control(kScan)); })) << key;
        EXPECT_EQ(dir.read("Zelvanojpg.log"), list) << "the scan ended before " << key;
        EXPECT_EQ(::WaitForSingleObject(copies[0], 0), WAIT_TIMEOUT) << key;
    }

    // Two copies for one list folder would write its lists over each other: a second start brings
    // the running window to the front and ends, touching no list.
    ::ShowWindow(main, SW_MINIMIZE);
    EXPECT_TRUE(startEnds(10000));
    EXPECT_TRUE(Soon([&] { return ::GetForegroundWindow() == main && !::IsIconic(main); }));
    EXPECT_EQ(dir.read("Zelvanojpg.log"), list);
}

// One folder under two drive letters, as SUBST or a mapped drive beside its share gives it, is one
// list folder: a start from the second letter brings the copy started from the first to the front.
TEST_F(AtTheKeys, OneFolderUnderTwoDriveLettersRunsOneCopy) {
    std::string letters; // two that name no drive, in lower case as Wine's folder of them has them
    for (char letter = 'x'; letter > 'd' && letters.size() < 2; --letter) {
        if ((::GetLogicalDrives() & (1U << (letter - 'a'))) == 0) {
            letters += letter;
        }
    }
    ASSERT_EQ(letters.size(), 2U);
    const std::string each = std::string("for l in ") + letters[0] + ' ' + letters[1] + "; do ";
    const std::string link = " ${WINEPREFIX:-$HOME/.wine}/dosdevices/$l:; done; echo >";
    shell(each + "ln -sfn \\\"$PWD\\\"" + link + "mapped");
    const ScopeExit unmap([&] {
        shell(each + "rm -f" + link + "unmapped");
        EXPECT_TRUE(Soon([&] { return dir.exists("unmapped"); }));
    });
    ASSERT_TRUE(Soon([&] { return dir.exists("mapped"); }));
    Pictures(dir, 1, "jpg");
    exe = letters.substr(0, 1) + ":\\zelvano.exe";
    ASSERT_NO_FATAL_FAILURE(startProgram());
    ::ShowWindow(main, SW_MINIMIZE);
    exe = letters.substr(1, 1) + ":\\zelvano.exe";
    EXPECT_TRUE(startEnds(10000));
    EXPECT_TRUE(Soon([&] { return ::GetForegroundWindow() == main && !::IsIconic(main); }));
}

// A copy that holds the list folder but shows no window, hung as it starts: a later start waits for
// it, then says so in a box, and ends when the user closes the box, touching no list.
TEST_F(AtTheKeys, ACopyThatShowsNoWindowIsSaidToBeSilent) {
    Pictures(dir, 1, "jpg");
    const auto lists = [&] {
        std::string all;
        for (const auto& file : std::filesystem::directory_iterator(dir.path())) {
            if (file.path().extension() == ".log") {
                all += file.path().filename().string() + ":" + test::TestFolder::slurp(file.path().string());
            }
        }
        return all;
    };
    const std::string before = lists();
    const SingleInstance silent(dir.path());
    ASSERT_NO_FATAL_FAILURE(copyProgram());
    EXPECT_FALSE(startEnds(0));
    HWND box = nullptr;
    GUITHREADINFO input{};
    input.cbSize = sizeof input;
    ASSERT_TRUE(Soon(
        [&] {
            box = ::FindWindowA("#32770", std::string(kProgramTitle).c_str());
            DWORD process = 0;
            return ::GetGUIThreadInfo(::GetWindowThreadProcessId(box, &process), &input) &&
                   process == ::GetProcessId(copies.back()) && ::IsChild(box, input.hwndFocus);
        },
        15000));
    // The display server hands the box its keys a moment after Wine gives it the focus.
    ASSERT_TRUE(Soon([&] {
        xdo("getwindowfocus getwindowname >focus 2>&1 || true");
        return dir.read("focus") == std::string(kProgramTitle) + "\n";
    }));
    EXPECT_EQ(TextOf(::GetDlgItem(box, 0xFFFF)), Wide(kRunningButSilent));
    keys("Return");
    DWORD code = 1;
    EXPECT_EQ(::WaitForSingleObject(copies.back(), 5000), WAIT_OBJECT_0);
    EXPECT_TRUE(::GetExitCodeProcess(copies.back(), &code) && code == 0);
    EXPECT_EQ(lists(), before);
}

// Print on the print system of the Windows tests' own (tests/support/print_system.sh, which CI
// starts before Wine, so that Wine gives its queue to every program as it gives any printer of the
// system; CUPS_SERVER names its socket). Cancel prints nothing; a picture that fits comes out at the
// size it has on the screen, 644 x 484 pixels at 96 an inch, 483 x 363 points, at the top left of
// the printable area, on one sheet; a larger one wider than tall fills the sheet's long side; a
// queue that takes no jobs is said not to have printed.
TEST_F(AtTheKeys, PrintedSheets) {
    char socket[MAX_PATH] = {};
    if (::GetEnvironmentVariableA("CUPS_SERVER", socket, MAX_PATH) == 0) {
        GTEST_SKIP() << "no print system of the tests' own (CUPS_SERVER)";
    }
    const std::string printed = FolderPart(socket, '/') + "/printed";
    dir.writeBmp("fits.bmp", 644, 484);
    dir.writeBmp("wide.bmp", 2400, 1200);
    dir.write("Zelvanobmp.log",
              FormatRecord(dir.path() + "\\", "fits.bmp") + FormatRecord(dir.path() + "\\", "wide.bmp"));
    ASSERT_NO_FATAL_FAILURE(startProgram([&] { return TextOf(control(kCounter)) == L"2 bmp Pictures/ 1"; }));
    int n = 0; // the runs of the shell that reads what was printed
    // Prints the selected picture, answering the dialog with `key`, and tells what the sheet printed
    // since shows: "PAGES WIDTH HEIGHT X0 Y0 X1 Y1 ...", or "none" when none came (after two seconds
    // for a cancelled dialog, which sends nothing at all).
    const auto print = [&](const std::string& key) {
        const std::string result = "page" + std::to_string(++n);
        ::DeleteFileA((dir.path() + "\\before").c_str());
        shell("ls " + printed + " | wc -l >before");
        EXPECT_TRUE(Soon([&] { return dir.read("before").ends_with("\n"); }));
        click(control(kPrint));
        EXPECT_TRUE(Soon([&] { return TextOf(gui().hwndActive) == L"Print"; }));
        keys(key);
        const std::string tries = key == "Escape" ? "10" : "150";
        shell("for i in $(seq " + tries + "); do [ $(ls " + printed +
              " | wc -l) -gt $(cat before) ] && test -z " +
              "\\\"$(lpstat -o)\\\" && break; sleep 0.2; done; if [ $(ls " + printed +
              " | wc -l) -gt $(cat before) ]; then " ZELVANO_TEST_SUPPORT "/printed_page.py $(ls -t " +
              printed + "/*.pdf | head -n1); else echo none; fi >" + result);
        EXPECT_TRUE(Soon([&] { return dir.read(result).ends_with("\n"); }, 40000));
        return dir.read(result);
    };
    struct Sheet {
        int pages = 0, width = 0, height = 0, x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    };
    const auto read = [](const std::string& text) {
        Sheet s;
        std::istringstream(text) >> s.pages >> s.width >> s.height >> s.x0 >> s.y0 >> s.x1 >> s.y1;
        return s;
    };
    EXPECT_EQ(print("Escape"), "none\n");
    const Sheet fits = read(print("Return"));
    EXPECT_EQ(fits.pages, 1);
    EXPECT_NEAR(fits.x1 - fits.x0, 483, 2);
    EXPECT_NEAR(fits.y1 - fits.y0, 363, 2);
    EXPECT_NEAR(fits.x0, 0, 2);
    EXPECT_NEAR(fits.y0, 0, 2);
    RECT second{};
    ::SendMessageA(control(kList), LB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&second));
    ::MapWindowPoints(control(kList), nullptr, reinterpret_cast<POINT*>(&second), 2);
    xdo("mousemove " + std::to_string((second.left + second.right) / 2) + " " +
        std::to_string((second.top + second.bottom) / 2) + " click 1");
    ASSERT_TRUE(Soon([&] { return TextOf(control(kCounter)) == L"2 bmp Pictures/ 2"; }));
    const Sheet wide = read(print("Return"));
    EXPECT_EQ(wide.pages, 1);
    EXPECT_NEAR(std::max(wide.x1 - wide.x0, wide.y1 - wide.y0), std::max(wide.width, wide.height), 2)
        << "its long side fills the sheet's";
    EXPECT_NEAR(std::min(wide.x1 - wide.x0, wide.y1 - wide.y0) * 2, std::max(wide.width, wide.height), 4);

    shell("cupsreject Zelvano; echo >refused");
    ASSERT_TRUE(Soon([&] { return dir.exists("refused"); }));
    click(control(kPrint));
    ASSERT_TRUE(Soon([&] { return TextOf(gui().hwndActive) == L"Print"; }));
    keys("Return");
    EXPECT_EQ(answer("Return"),
              L"The picture wide.bmp can not be printed: the printer did not take the page.");
    shell("cupsaccept Zelvano; echo >accepted");
    EXPECT_TRUE(Soon([&] { return dir.exists("accepted"); }));
}

#if defined(ZELVANO_PLAIN_DRIVE)
// A drive letter whose folder stops answering, as a mapped share does when its server goes: a
// deletion there waits off the window's thread, the window answers, a wait window names the drive,
// Cancel gives it up with a message that names it, and the list is as it was. The test drive is
// mounted over a folder of the test's, which Wine maps as Y:.
TEST_F(AtTheKeys, ADriveThatStopsAnsweringLeavesTheWindowAnswering) {
    dir.writeBmp("drive/a.bmp", 8, 8);
    const std::string list = FormatRecord("Y:\\", "a.bmp");
    dir.write("Zelvanobmp.log", list);
    shell("echo $$ >drive.pid; exec " ZELVANO_PLAIN_DRIVE " drive -f >drive.log 2>&1");
    if (!Soon([&] { return dir.read("drive.log").find("ready") != std::string::npos; })) {
        GTEST_SKIP() << "no test drive could be mounted here: " << dir.read("drive.log");
    }
    const std::string dosdevices = "${WINEPREFIX:-$HOME/.wine}/dosdevices";
    shell("ln -sfn \\\"$PWD/drive\\\" " + dosdevices + "/y: && echo >mapped");
    ASSERT_TRUE(Soon([&] { return dir.exists("mapped"); }));
    ASSERT_NO_FATAL_FAILURE(startProgram([&] { return TextOf(control(kCounter)) == L"1 bmp Pictures/ 1"; }));

    shell("kill -USR2 $(cat drive.pid)");
    keys("Delete");
    EXPECT_EQ(answer("Return"), L"Do you want to delete a.bmp?");
    HWND wait = nullptr;
    const auto says = [&wait](const std::wstring& text) {
        for (HWND child = ::GetWindow(wait, GW_CHILD); child != nullptr;
             child = ::GetWindow(child, GW_HWNDNEXT)) {
            if (TextOf(child) == text) {
                return true;
            }
        }
        return false;
    };
    ASSERT_TRUE(Soon([&] {
        wait = ::FindWindowA("ZelvanoWait", nullptr);
        return wait != nullptr && says(L"Waiting for Y:\\ to answer");
    }));
    DWORD_PTR answered = 0;
    EXPECT_NE(::SendMessageTimeoutA(main, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 1000, &answered), 0);
    click(::GetDlgItem(wait, IDCANCEL));
    EXPECT_EQ(answer("Return"), L"The file a.bmp could not be deleted: the drive Y:\\ did not answer.");
    EXPECT_EQ(dir.read("Zelvanobmp.log"), list);

    // The drive answers again, and goes; so does the drive letter.
    shell("rm -f " + dosdevices +
          "/y:; d=$(cat drive.pid); kill -USR1 $d; kill $d; "
          "while kill -0 $d 2>/dev/null; do sleep 0.05; done; echo >ended");
    EXPECT_TRUE(Soon([&] { return dir.exists("ended"); }));
}
#endif

// The wait window's text stays on one line with this system's fonts: its label would wrap a longer
// one and cut its end.
TEST(WaitWindow, ItsTextFitsOnOneLine) {
    const WaitWindow wait(nullptr, 96, nullptr);
    HWND label = ::GetWindow(wait.hwnd(), GW_CHILD);
    RECT needed{};
    ::GetClientRect(label, &needed);
    HDC dc = ::GetDC(label);
    ::SelectObject(dc, reinterpret_cast<HGDIOBJ>(::SendMessageA(label, WM_GETFONT, 0, 0)));
    ::DrawTextW(dc, TextOf(label).c_str(), -1, &needed, DT_CALCRECT | DT_WORDBREAK | DT_CENTER);
    TEXTMETRICA font{};
    ::GetTextMetricsA(dc, &font);
    ::ReleaseDC(label, dc);
    EXPECT_EQ(needed.bottom - needed.top, font.tmHeight);
}

// A photo stored on its side is shown upright: where each stored pixel goes, by orientation. A
// picture is missing only when its folder is there; a remembered read is read again only when the
// picture or the bound changed.
TEST(WinPicture, UprightMissingAndReadAgainOnlyWhenChanged) {
    const Pixels stored{3, 2, {0, 1, 2, 3, 4, 5}}; // two rows of three
    const std::vector<std::pair<int, std::vector<std::uint32_t>>> cases = {
        {1, {0, 1, 2, 3, 4, 5}}, {2, {2, 1, 0, 5, 4, 3}}, {3, {5, 4, 3, 2, 1, 0}}, {4, {3, 4, 5, 0, 1, 2}},
        {5, {0, 3, 1, 4, 2, 5}}, {6, {3, 0, 4, 1, 5, 2}}, {7, {5, 2, 4, 1, 3, 0}}, {8, {2, 5, 1, 4, 0, 3}}};
    for (const auto& [orientation, upright] : cases) {
        const Pixels turned = Upright(stored, orientation);
        EXPECT_EQ(turned.bgra, upright) << orientation;
        EXPECT_EQ(turned.width, orientation >= 5 ? 2 : 3) << orientation;
    }

    test::TestFolder dir;
    EXPECT_EQ(ReadWinPicture(dir.path() + "\\gone.jpg", {}).result.failure, Failure::NotFound);
    EXPECT_EQ(ReadWinPicture(dir.path() + "\\gone\\a.jpg", {}).result.failure, Failure::Other);

    // A 4 x 4 and an 8 x 2 bitmap take as many bytes: with its time put back, the second stands
    // where the first was as far as the file's size and time tell.
    const std::string path = dir.writeBmp("a.bmp", 4, 4);
    const OffThreadRead here = [](const std::function<void(LastAnswer&)>& work) {
        LastAnswer heard;
        work(heard);
        return OpResult::success();
    };
    RememberedRead memory;
    // In whole seconds, which every file system keeps.
    const auto written = std::chrono::floor<std::chrono::seconds>(std::filesystem::last_write_time(path));
    const auto swap = [&](int width, int height) {
        dir.writeBmp("a.bmp", width, height);
        std::filesystem::last_write_time(path, written);
    };
    swap(4, 4);
    EXPECT_EQ(memory.read(path, {8, 8}, here).image.width, 4);
    swap(8, 2);
    EXPECT_EQ(memory.read(path, {8, 8}, here).image.width, 4) << "remembered";
    std::filesystem::last_write_time(path, written + std::chrono::seconds(2));
    EXPECT_EQ(memory.read(path, {8, 8}, here).image.width, 8) << "another time";
    swap(4, 4);
    EXPECT_EQ(memory.read(path, {16, 16}, here).image.width, 4) << "another bound";
    const OffThreadRead silent = [](const std::function<void(LastAnswer&)>&) {
        return NoAnswer("Y:\\");
    };
    EXPECT_EQ(memory.read(path, {16, 16}, silent).result.reason, "the drive Y:\\ did not answer");
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
