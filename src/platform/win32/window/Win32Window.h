#pragma once

#include "app/HandlerRunner.h"
#include "platform/Window.h"
#include "platform/win32/window/Buttons.h"
#include "platform/win32/window/Label.h"
#include "platform/win32/window/ListBox.h"
#include "platform/win32/window/PreviewPane.h"
#include "platform/win32/window/Printer.h"
#include "platform/win32/window/StatusBar.h"
#include "platform/win32/window/WaitWindow.h"

#include <windows.h>

#include <array>
#include <chrono>
#include <functional>
#include <memory>

namespace zelvano {

// The main window's controls, by the names the handlers know them by.
struct Win32Controls {
    std::unique_ptr<ListBox> List1;
    std::unique_ptr<PushButton> Command1; // Scan disk/disks
    std::unique_ptr<PushButton> Command2; // Previous 30
    std::unique_ptr<PushButton> Command3; // Next 30
    std::unique_ptr<PushButton> Command4; // Rename
    std::unique_ptr<PushButton> Command5; // Delete
    std::unique_ptr<Label> Label1;
    std::unique_ptr<PushButton> Command6; // Copy
    std::unique_ptr<PushButton> Command8; // Exit
    std::unique_ptr<GroupBox> Frame1;
    std::array<std::unique_ptr<RadioButton>, 5> Option; // Option1..Option5
    std::unique_ptr<Label> Label2;                      // counter caption
    std::unique_ptr<StatusBar> StatusBar1;
    std::unique_ptr<Label> Picture3; // grey cover over the preview's lower edge
    std::unique_ptr<PreviewPane> Preview1;
    std::unique_ptr<PushButton> Command7; // Print
};

// Menu commands.
enum MenuId : WORD { kMenuExit = 201, kMenuUpdate = 202 };

// The main window's class, by which a second copy of the program finds the first.
inline constexpr const char* kMainWindowClass = "ZelvanoMain";

// fmZelvano with the plain Win32 controls of the system's 8-bit (ANSI) calls: builds the window,
// forwards the user's actions to the handlers, and is the window seam the handlers drive. The
// program's own changes of the controls send no notifications, so they never come back as events.
class Win32Window : public Window {
public:
    Win32Window();
    ~Win32Window() override;
    Win32Window(const Win32Window&) = delete;
    Win32Window& operator=(const Win32Window&) = delete;

    // Forwards the user's actions on the controls and menus to `form`.
    void wire(FmZelvano& form);
    // Start-up, run as the handlers run: nothing the user does starts a command in its middle.
    void load();
    // Runs the main loop until the program is asked to end; returns its exit code.
    int run();
    [[nodiscard]] HWND hwnd() const { return hwnd_; }
    [[nodiscard]] const Win32Controls& controls() const { return c_; }
    // Converts the designed twips to pixels of this screen.
    [[nodiscard]] int px(int twips) const;

    void listClear() override;
    void listAdd(const std::string& text) override;
    [[nodiscard]] int listCount() const override;
    [[nodiscard]] std::string listText(int index) const override;
    [[nodiscard]] int listIndex() const override;
    void setListIndex(int index) override;
    void focusList() override;
    [[nodiscard]] int checkedOption() const override;
    void setCheckedOption(int option) override;
    void setEnabled(Button button, bool enabled) override;
    void setCounterCaption(const std::string& text) override;
    void setPanelText(Panel panel, const std::string& text) override;
    OpResult showPreview(const std::string& path) override;
    OpResult loadPictureBox(const std::string& path) override;
    [[nodiscard]] std::optional<PixelSize> pictureBoxPicture() const override;
    [[nodiscard]] PixelRect workArea() const override;
    [[nodiscard]] PixelSize windowFrameSize() const override;
    void moveWindow(int left, int top) override;
    [[nodiscard]] int twipsPerPixel() const override;
    void showWindow() override;
    void message(const std::string& text) override;
    bool askYesNo(const std::string& text) override;
    void showWait() override;
    void setWaitProgress(const std::string& text) override;
    void closeWait() override;
    void setBusyCursor(bool busy) override;
    Ending runWhilePainting(const std::function<void()>& work, const std::function<void()>& progress,
                            Wait wait) override;
    std::string inputBox(const std::string& prompt, const std::string& title,
                         const std::string& text) override;
    std::optional<std::string> saveFileDialog(const std::string& fileName) override;
    bool printerDialog() override;
    [[nodiscard]] PrintArea printableArea() override;
    OpResult printPicture(bool landscape, float widthMm, float heightMm) override;
    void doEvents() override;
    void quit() override;

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    void buildControls();
    // A type button became the checked one by a click or a key.
    void optionChecked(int option);
    // As the dialog manager does: the control that has the focus when the window is deactivated
    // has it again on activation, or the list when it cannot take it.
    void rememberFocus();
    bool restoreFocus();
    [[nodiscard]] std::string driveOf(const std::string& path) const;
    // Reads a picture off the window's thread, as every drive is waited for; with `memory`, only
    // when the picture changed since its last read there.
    WinPictureRead readPicture(RememberedRead* memory, const std::string& path, PixelSize bound,
                               std::chrono::milliseconds silence);

    HWND hwnd_ = nullptr;
    int dpi_ = 96;
    HFONT font_ = nullptr;
    Win32Controls c_;
    std::unique_ptr<WaitWindow> vent_;
    bool busy_ = false;
    HandlerRunner handlers_;
    int shownOption_ = -1; // the type whose list is shown
    HWND focused_ = nullptr;
    std::string picturePath_; // what Picture1 holds
    std::optional<PixelSize> pictureSize_;
    RememberedRead previewRead_;
    RememberedRead headerRead_;
    Printer printer_;
    std::function<std::string(const std::string&)> driveOf_;
};

} // namespace zelvano
