// The window seam on the Win32 window: what the handlers do to the window and its dialogs.
#include "app/ProductInfo.h"
#include "platform/DriveWait.h"
#include "platform/FileFailure.h"
#include "platform/ScopeExit.h"
#include "platform/Worker.h"
#include "platform/win32/window/Dialogs.h"
#include "platform/win32/window/MessagePump.h"
#include "platform/win32/window/Win32Window.h"

#include <chrono>
#include <cmath>
#include <memory>
#include <optional>
#include <vector>

namespace zelvano {

namespace {

// While it lives, the window's commands are greyed, so that a wait window's wait shows as one, and
// the keys are the wait window's Cancel's: the focus moves there before its control is disabled,
// which would leave the keys nowhere. Afterwards each control is as it was, and the one that had
// the focus has it again.
class QuietControls {
public:
    QuietControls(HWND window, std::vector<Control*> controls, WaitWindow& vent)
        : window_(window), focused_(::GetFocus()) {
        vent.focusCancel();
        for (Control* control : controls) {
            controls_.emplace_back(control, control->enabled());
            control->setEnabled(false);
        }
        ::EnableMenuItem(::GetMenu(window_), kMenuUpdate, MF_BYCOMMAND | MF_GRAYED);
    }
    ~QuietControls() {
        ::EnableMenuItem(::GetMenu(window_), kMenuUpdate, MF_BYCOMMAND | MF_ENABLED);
        for (auto& [control, enabled] : controls_) {
            control->setEnabled(enabled);
        }
        if (focused_ != nullptr && ::IsChild(window_, focused_) && ::IsWindowEnabled(focused_)) {
            ::SetFocus(focused_);
        }
    }
    QuietControls(const QuietControls&) = delete;
    QuietControls& operator=(const QuietControls&) = delete;

private:
    HWND window_;
    HWND focused_;
    std::vector<std::pair<Control*, bool>> controls_;
};

} // namespace

WinPictureRead Win32Window::readPicture(RememberedRead* memory, const std::string& path, PixelSize bound,
                                        std::chrono::milliseconds silence) {
    const OffThreadRead offThread = [this, &path, silence](const std::function<void(LastAnswer&)>& work) {
        return OnDrive(*this, {driveOf(path)}, silence, [work](DriveCall& call) { work(call.answers()); });
    };
    if (memory != nullptr) {
        return memory->read(path, bound, offThread);
    }
    auto read = std::make_shared<WinPictureRead>(); // a read given up may end after this has returned
    const OpResult waited =
        offThread([read, path, bound](LastAnswer& heard) { *read = ReadWinPicture(path, bound, &heard); });
    return waited.ok() ? std::move(*read) : WinPictureRead{waited, {}, {}};
}

std::string Win32Window::driveOf(const std::string& path) const {
    return driveOf_ ? driveOf_(path) : FolderPart(path, '\\') + "\\";
}

void Win32Window::listClear() {
    c_.List1->clear();
}

void Win32Window::listAdd(const std::string& text) {
    c_.List1->add(text);
}

int Win32Window::listCount() const {
    return c_.List1->count();
}

std::string Win32Window::listText(int index) const {
    return c_.List1->item(index);
}

int Win32Window::listIndex() const {
    return c_.List1->selected();
}

void Win32Window::setListIndex(int index) {
    c_.List1->select(index);
}

void Win32Window::focusList() {
    ::SetFocus(c_.List1->hwnd());
}

int Win32Window::checkedOption() const {
    for (std::size_t i = 0; i < c_.Option.size(); ++i) {
        if (c_.Option[i]->checked()) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

void Win32Window::setCheckedOption(int option) {
    shownOption_ = option;
    for (std::size_t i = 0; i < c_.Option.size(); ++i) {
        c_.Option[i]->setChecked(static_cast<int>(i) == option);
    }
}

void Win32Window::setEnabled(Button button, bool enabled) {
    (button == Button::Command1 ? c_.Command1 : c_.Command7)->setEnabled(enabled);
}

void Win32Window::setCounterCaption(const std::string& text) {
    c_.Label2->setText(text);
}

void Win32Window::setPanelText(Panel panel, const std::string& text) {
    c_.StatusBar1->setPart(panel == Panel::One ? 0 : 1, text);
}

OpResult Win32Window::showPreview(const std::string& path) {
    c_.Preview1->clear();
    if (path.empty()) {
        return OpResult::success();
    }
    const WinPictureRead read = readPicture(&previewRead_, path, c_.Preview1->area(), kReadSilence);
    if (read.result.ok()) {
        c_.Preview1->showPicture(read.image);
    } else {
        c_.Preview1->showText("This picture can not be shown: " + read.result.reason);
    }
    return read.result;
}

OpResult Win32Window::loadPictureBox(const std::string& path) {
    const WinPictureRead read =
        readPicture(&headerRead_, path, {}, kReadSilence); // the header tells the size
    if (read.result.ok()) {
        picturePath_ = path;
        pictureSize_ = read.uprightSize;
    }
    return read.result;
}

std::optional<PixelSize> Win32Window::pictureBoxPicture() const {
    return pictureSize_;
}

PixelRect Win32Window::workArea() const {
    RECT r{};
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &r, 0);
    return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

PixelSize Win32Window::windowFrameSize() const {
    RECT r{};
    ::GetWindowRect(hwnd_, &r);
    return {r.right - r.left, r.bottom - r.top};
}

void Win32Window::moveWindow(int left, int top) {
    ::SetWindowPos(hwnd_, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

int Win32Window::twipsPerPixel() const {
    return static_cast<int>(std::lround(1440.0 / dpi_));
}

void Win32Window::showWindow() {
    ::ShowWindow(hwnd_, SW_SHOW);
    ::UpdateWindow(hwnd_);
    DoEvents();
}

void Win32Window::message(const std::string& text) {
    ShowMessage(hwnd_, text);
}

bool Win32Window::askYesNo(const std::string& text) {
    return AskYesNo(hwnd_, text);
}

void Win32Window::showWait() {
    if (!vent_) {
        vent_ = std::make_unique<WaitWindow>(hwnd_, dpi_, font_);
        vent_->onCancel = [this] {
            handlers_.cancel();
        };
    }
    vent_->setProgress({});
}

void Win32Window::setWaitProgress(const std::string& text) {
    if (vent_) {
        vent_->setProgress(text);
    }
}

void Win32Window::closeWait() {
    vent_.reset();
}

void Win32Window::setBusyCursor(bool busy) {
    busy_ = busy;
    ::SetCursor(::LoadCursorA(nullptr, busy ? IDC_WAIT : IDC_ARROW));
}

Ending Win32Window::runWhilePainting(const std::function<void()>& work, const std::function<void()>& progress,
                                     Wait wait) {
    const std::vector<Control*> controls = {
        c_.List1.get(),     c_.Command1.get(),  c_.Command2.get(), c_.Command3.get(),  c_.Command4.get(),
        c_.Command5.get(),  c_.Command6.get(),  c_.Command7.get(), c_.Option[0].get(), c_.Option[1].get(),
        c_.Option[2].get(), c_.Option[3].get(), c_.Option[4].get()};
    std::optional<QuietControls> quiet; // while a wait window is up
    const bool own = !vent_;            // a scan's is up already, for its whole run
    if (!own) {
        quiet.emplace(hwnd_, controls, *vent_);
    }
    const ULONGLONG start = ::GetTickCount64();
    bool named = false; // the drive waited for, once the wait is a long one
    const auto tick = [&] {
        if (!wait.drive.empty() && !named &&
            ::GetTickCount64() - start >= static_cast<ULONGLONG>(kWaitWindowAfter.count())) {
            named = true;
            if (own) {
                vent_ = std::make_unique<WaitWindow>(hwnd_, dpi_, font_, " Please wait ");
                vent_->onCancel = [this] {
                    handlers_.cancel();
                };
                quiet.emplace(hwnd_, controls, *vent_);
            }
            vent_->setProgress("Waiting for " + wait.drive + " to answer");
        }
        if (progress) {
            progress();
        }
    };
    // Until a wait window is up the user's input waits for the command's end, but for what ends the
    // program; then the commands are greyed and the keys are Cancel's.
    const auto pump = [&] {
        quiet ? PumpAll() : PumpHoldingInput(c_.Command8->hwnd(), hwnd_);
    };
    const ScopeExit close([&] {
        quiet.reset();
        if (own) {
            vent_.reset();
        }
    });
    return handlers_.runWait([&](const std::function<bool()>& cancelled) {
        return RunOffThread(work, tick, wait, cancelled, pump);
    });
}

std::string Win32Window::inputBox(const std::string& prompt, const std::string& title,
                                  const std::string& text) {
    return InputBox(hwnd_, prompt, title, text);
}

std::optional<std::string> Win32Window::saveFileDialog(const std::string& fileName) {
    return SaveFileDialog(hwnd_, fileName);
}

bool Win32Window::printerDialog() {
    if (!Printer::Installed()) {
        ShowMessage(hwnd_, std::string(kNoPrinter));
        return false;
    }
    return printer_.choose(hwnd_);
}

PrintArea Win32Window::printableArea() {
    return printer_.portraitArea();
}

OpResult Win32Window::printPicture(bool landscape, float widthMm, float heightMm) {
    // Decoded no larger than the page shows, so that a very large photo prints as well.
    const Printer::Dots dots = printer_.dots(landscape, widthMm, heightMm);
    const WinPictureRead read = readPicture(
        nullptr, picturePath_, PrintPixels(dots.size, dots.perInchX, dots.perInchY), kPrintReadSilence);
    if (!read.result.ok()) {
        return read.result;
    }
    return printer_.print(std::string(kProgramTitle), landscape, read.image, dots.size);
}

void Win32Window::doEvents() {
    DoEvents();
}

void Win32Window::quit() {
    if (WorkUnderWay()) {
        // A search or a read may be stuck in a drive that stopped answering; nothing is left to
        // write, since every change was written when it was made.
        Worker::EndProgramNow();
    }
    ::PostQuitMessage(0);
}

} // namespace zelvano
