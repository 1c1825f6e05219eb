#pragma once

#include "platform/LastAnswer.h"
#include "platform/OpResult.h"

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace zelvano {

struct PixelSize {
    int width = 0;
    int height = 0;
    bool operator==(const PixelSize&) const = default;
};

struct PixelRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

inline constexpr double kMillimetresPerInch = 25.4;

// The printable area of a portrait page, in millimetres.
struct PrintArea {
    float width = 0.0F;
    float height = 0.0F;
};

// Buttons whose enabled state the logic changes.
enum class Button { Command1, Command7 };

// Key codes the window passes to List1_KeyDown.
inline constexpr int kKeyBackspace = 8;
inline constexpr int kKeyDelete = 46;

// What the printer dialog says when there is no printer to choose.
inline constexpr std::string_view kNoPrinter = "No printer is installed on this computer.";

// The status bar's two panels: 1 holds the path, 2 the size text.
enum class Panel { One = 1, Two = 2 };

// How soon a wait for a drive brings up the wait window, which names the drive and offers Cancel:
// work that a drive answers at once never shows it.
inline constexpr std::chrono::milliseconds kWaitWindowAfter{400};

// What a wait for work off the window's thread waits for. Every wait takes Exit, File > Exit and
// the window's close box, which end the program at once, and the wait window's Cancel and Escape,
// which end the wait; nothing else of the user's reaches the window meanwhile.
struct Wait {
    // The drive the work waits on, which the wait window names ("Waiting for D to answer").
    // Empty for a scan, whose own wait window is up for its whole run with a line of progress.
    std::string drive;
    // How long the work may go without a word from its drive before the wait ends: counted from
    // the drive's last answer when `heard` is given, so that work that keeps getting answers (a
    // large picture from a slow drive) is never given up, else from the start. Zero waits as long
    // as the work takes.
    std::chrono::milliseconds patience{0};
    std::shared_ptr<const LastAnswer> heard;

    // A scan's wait: as long as the search takes, or until the user cancels it.
    static Wait Scan() { return {}; }
    static Wait OnDrive(std::string drive, std::chrono::milliseconds patience,
                        std::shared_ptr<const LastAnswer> heard = nullptr) {
        return {std::move(drive), patience, std::move(heard)};
    }

    // Whether a wait that began at `start` has run out of patience: the one rule of every wait.
    [[nodiscard]] bool runOut(std::chrono::steady_clock::time_point start) const {
        if (patience.count() <= 0) {
            return false;
        }
        return (heard ? heard->silentFor()
                      : std::chrono::duration_cast<std::chrono::milliseconds>(
                            std::chrono::steady_clock::now() - start)) >= patience;
    }
};

// How long a drive may say nothing while a picture is read from it for the selection (the preview,
// the picture box's header) before the read is given up: "its drive did not answer".
inline constexpr std::chrono::milliseconds kReadSilence{2000};

// How long a drive may say nothing while the picture is read for printing.
inline constexpr std::chrono::milliseconds kPrintReadSilence{10000};

// The pixels a picture printed over `dots` (the printer's dots, at `dotsPerInch` across and down)
// is decoded to. A printer's dots are finer than the detail a photo shows: 300 pixels an inch is
// as much as a print shows, and a 1200-dot printer would otherwise need sixteen times the memory.
PixelSize PrintPixels(PixelSize dots, double dotsPerInchX, double dotsPerInchY);

// How a wait for work off the window's thread ended. Work that did not end Done is left to finish,
// or never finish, on its own: it holds everything it uses, and what it makes is dropped.
enum class Ending { Done, Cancelled, OutOfTime };

// The main window and its dialogs as the logic sees them. Texts that come from the file system
// are bytes; the window decodes them only to display them. Nothing here runs a handler: the
// program's own changes of selection or option never come back as events.
class Window {
public:
    Window() = default;
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;
    virtual ~Window() = default;

    // List box List1. Indexes are 0-based; -1 means nothing is selected.
    virtual void listClear() = 0;
    virtual void listAdd(const std::string& text) = 0;
    [[nodiscard]] virtual int listCount() const = 0;
    [[nodiscard]] virtual std::string listText(int index) const = 0;
    [[nodiscard]] virtual int listIndex() const = 0;
    virtual void setListIndex(int index) = 0;
    virtual void focusList() = 0;

    // Option buttons Option1..Option5, numbered 0..4; -1 when none is checked.
    [[nodiscard]] virtual int checkedOption() const = 0;
    virtual void setCheckedOption(int option) = 0;

    virtual void setEnabled(Button button, bool enabled) = 0;
    virtual void setCounterCaption(const std::string& text) = 0; // Label2
    virtual void setPanelText(Panel panel, const std::string& text) = 0;

    // Preview1: shows the picture at the path, or nothing for the empty path.
    virtual OpResult showPreview(const std::string& path) = 0;

    // Picture1: loads a picture (bmp, jpeg, gif). A failed load keeps the previous picture.
    virtual OpResult loadPictureBox(const std::string& path) = 0;
    // The size of the picture Picture1 holds, upright, in pixels; nothing before the first load.
    [[nodiscard]] virtual std::optional<PixelSize> pictureBoxPicture() const = 0;

    // Screen geometry in pixels, and the screen's twips per pixel (15 at 96 dpi).
    [[nodiscard]] virtual PixelRect workArea() const = 0;
    [[nodiscard]] virtual PixelSize windowFrameSize() const = 0;
    virtual void moveWindow(int left, int top) = 0;
    [[nodiscard]] virtual int twipsPerPixel() const = 0;
    virtual void showWindow() = 0;

    // Modal message boxes with the program's title and no icon.
    virtual void message(const std::string& text) = 0;
    virtual bool askYesNo(const std::string& text) = 0;

    // The wait window Vent, shown while a scan runs, with a line of progress under its label and
    // a Cancel button that ends the wait under way. A wait for a drive brings up one of its own.
    virtual void showWait() = 0;
    virtual void setWaitProgress(const std::string& text) = 0;
    virtual void closeWait() = 0;
    // The hourglass over the whole screen.
    virtual void setBusyCursor(bool busy) = 0;

    // Runs `work` off the window's thread and returns when it is done, or sooner as `wait` allows
    // (see Wait): the window never waits on a drive. Meanwhile the window keeps painting, no other
    // command can start, and `progress` runs on the window's thread now and then. `work` is copied:
    // what it uses must outlive an early return.
    virtual Ending runWhilePainting(const std::function<void()>& work, const std::function<void()>& progress,
                                    Wait wait) = 0;

    // Input box with OK and Cancel: the typed text, empty on Cancel.
    virtual std::string inputBox(const std::string& prompt, const std::string& title,
                                 const std::string& text) = 0;
    // Save-as dialog with the file name preset: the chosen full path, nothing on Cancel. It asks
    // no question of its own when the file exists.
    virtual std::optional<std::string> saveFileDialog(const std::string& fileName) = 0;

    // The system's printer dialog: false when cancelled. With no printer installed it says so
    // (kNoPrinter) and gives false.
    virtual bool printerDialog() = 0;
    [[nodiscard]] virtual PrintArea printableArea() = 0;
    // Prints the picture Picture1 holds on one page, at the printable area's top-left corner.
    virtual OpResult printPicture(bool landscape, float widthMm, float heightMm) = 0;

    // Lets pending window events run (painting, timers) but no user input, so that no other
    // command can start in the middle of this one.
    virtual void doEvents() = 0;

    // Ends the program at once.
    virtual void quit() = 0;
};

} // namespace zelvano
