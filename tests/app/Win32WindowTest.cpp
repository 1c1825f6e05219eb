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
    // A list of `count` bitmaps that exist, named p0.jpg, p1.jpg, ... in folder "pics".
    std::string pictures(int count, const std::string& type = "jpg") {
        std::string text;
        for (int i = 0; i < count; ++i) {
            const std::string name = "p" + std::to_string(i) + "." + type;
            dir.writeBmp("pics/" + name, 10 + i, 20);
            text += FormatRecord(dir.folder("pics"), name);
        }
        return dir.write("Zelvano" + type + ".log", text);
    }
    static void click(const Control& control) { ::SendMessageA(control.hwnd(), BM_CLICK, 0, 0); }
    // Selects an entry as a click on it does: the list box tells its parent of the change.
    void select(int index) {
        HWND list = c().List1->hwnd();
        ::SendMessageA(list, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
        ::SendMessageA(window->hwnd(), WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(list), LBN_SELCHANGE),
                       reinterpret_cast<LPARAM>(list));
    }
    void key(WPARAM key) { ::SendMessageA(c().List1->hwnd(), WM_KEYDOWN, key, 0); }
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

    said.clear();
    {
        const Answers answers({Press(IDOK, &said)});
        click(*c().Option[3]); // gif, never scanned
    }
    EXPECT_EQ(said, std::vector<std::string>{
                        "There have not been Scanned fore gif pictures. Click on 'Scan disk/disks'."});
    EXPECT_EQ(c().List1->count(), 0);
    EXPECT_EQ(counter(), "0 gif Pictures/ 0");
    EXPECT_EQ(window->checkedOption(), 3);
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

    // The Tab key's order, as on Linux, is the order of the controls on the window: the list,
    // Command1 to 6 and 8, Option1 to 3, Print, Option4 and 5. (Windows itself moves the Tab stop
    // of the option buttons to the checked one.)
    std::vector<int> ids;
    for (HWND w = ::GetWindow(window->hwnd(), GW_CHILD); w != nullptr; w = ::GetWindow(w, GW_HWNDNEXT)) {
        const int id = ::GetDlgCtrlID(w);
        if (id >= 100 && id <= 115) {
            ids.push_back(id);
        }
    }
    EXPECT_EQ(ids, (std::vector<int>{100, 101, 102, 103, 104, 105, 106, 108, 111, 112, 113, 107, 114, 115}));
}

TEST_F(Win32Window, DeleteAskedNoThenYesByKey) {
    pictures(3);
    start();
    select(1);
    std::vector<std::string> asked;
    {
        const Answers answers({Press(IDNO, &asked), Press(IDNO, &asked)});
        click(*c().Command5);
        ::SendMessageA(c().List1->hwnd(), WM_SYSKEYDOWN, VK_DELETE, 1 << 29); // with Alt held
    }
    EXPECT_TRUE(dir.exists("pics/p1.jpg"));
    {
        const Answers answers({Press(IDYES, &asked)});
        key(VK_BACK);
    }
    EXPECT_EQ(asked, std::vector<std::string>(3, "Do you want to delete p1.jpg?"));
    EXPECT_FALSE(dir.exists("pics/p1.jpg"));
    EXPECT_EQ(items(), (std::vector<std::string>{"p0.jpg", "p2.jpg"}));
    EXPECT_EQ(c().List1->selected(), 1);
    EXPECT_EQ(dir.read("Zelvanojpg.log").find("p1.jpg"), std::string::npos);
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
    char self[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, self, MAX_PATH);
    const std::string exe = dir.path() + "\\zelvano.exe"; // its lists are kept beside it
    ASSERT_TRUE(::CopyFileA((FolderPart(self, '\\') + "\\" + ZELVANO_EXE).c_str(), exe.c_str(), FALSE));
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

// Runs an action once, a while from now, from a timer of this thread, which runs inside the
// window's own waits.
class Later {
public:
    Later(UINT ms, std::function<void()> action) {
        action_ = std::move(action);
        id_ = ::SetTimer(nullptr, 0, ms, Fire);
    }
    Later(const Later&) = delete;
    Later& operator=(const Later&) = delete;
    ~Later() { ::KillTimer(nullptr, id_); }

private:
    static void CALLBACK Fire(HWND /*hwnd*/, UINT /*message*/, UINT_PTR id, DWORD /*time*/) {
        ::KillTimer(nullptr, id);
        const std::function<void()> action = std::move(action_);
        action();
    }
    static inline std::function<void()> action_;
    UINT_PTR id_ = 0;
};

// A drive that never answers in the middle of a scan: the wait window's Cancel button, or Escape,
// gives the window back within half a second, with the list as it was.
TEST_F(Win32Window, CancelEndsAScanOnASilentDrive) {
    pictures(1);
    const std::string list = dir.read("Zelvanojpg.log");
    ::CreateDirectoryA((dir.path() + "\\disk").c_str(), nullptr);
    test::Gate silent;
    os.gate = &silent;
    os.drives = {dir.folder("disk")};
    os.gatedFolders = {dir.folder("disk")};
    start();
    for (const bool escape : {false, true}) {
        ULONGLONG pressed = 0;
        const Later press(300, [&] {
            EXPECT_FALSE(c().Command4->enabled()) << "no other command meanwhile";
            pressed = ::GetTickCount64();
            if (escape) {
                ::PostMessageA(window->hwnd(), WM_KEYDOWN, VK_ESCAPE, 0);
            } else {
                ::SendMessageA(::GetDlgItem(::FindWindowA("ZelvanoWait", nullptr), IDCANCEL), BM_CLICK, 0, 0);
            }
        });
        click(*c().Command1);
        const ULONGLONG toInput = ::GetTickCount64() - pressed;
        std::printf("%s to the window taking input: %llu ms\n", escape ? "Escape" : "Cancel", toInput);
        EXPECT_LT(toInput, 500U);
        EXPECT_EQ(dir.read("Zelvanojpg.log"), list);
        EXPECT_EQ(items(), std::vector<std::string>{"p0.jpg"});
        EXPECT_TRUE(c().Command4->enabled());
        EXPECT_EQ(::FindWindowA("ZelvanoWait", nullptr), nullptr);
    }
    silent.open(); // the searches left behind end, and nothing of them is kept
    for (int waited = 0; WorkUnderWay() && waited < 5000; waited += 10) {
        ::Sleep(10);
    }
    EXPECT_FALSE(WorkUnderWay());
    EXPECT_EQ(dir.read("Zelvanojpg.log"), list);
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
