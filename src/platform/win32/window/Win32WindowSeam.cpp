// The window seam on the Win32 window: what the handlers do to the window and its dialogs.
#include "app/ProductInfo.h"
#include "platform/ScopeExit.h"
#include "platform/win32/window/Dialogs.h"
#include "platform/win32/window/MessagePump.h"
#include "platform/win32/window/Win32Window.h"

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <memory>

namespace zelvano {

namespace {

// Reads a picture off the window's thread; a read whose drive says nothing for `silence` is given
// up and left behind, one that keeps delivering is waited for.
WinPictureRead ReadWithPatience(const std::string& path, PixelSize bound, std::chrono::milliseconds silence) {
    auto read = std::make_shared<WinPictureRead>(); // a read given up may end after this has returned
    auto heard = std::make_shared<LastAnswer>();
    if (RunOffThread([read, heard, path, bound] { *read = ReadWinPicture(path, bound, heard.get()); }, {},
                     Wait::Within(silence, heard)) != Ending::Done) {
        return {OpResult::fail(Failure::Other, "its drive did not answer"), {}, {}};
    }
    return std::move(*read);
}

// The reads for the selection: the preview, and the picture box's header.
WinPictureRead ReadForSelection(const std::string& path, PixelSize bound) {
    return ReadWithPatience(path, bound, kReadSilence);
}

} // namespace

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
    const WinPictureRead read = previewRead_.read(path, c_.Preview1->area(), ReadForSelection);
    if (read.result.ok()) {
        c_.Preview1->showPicture(read.image);
    } else {
        c_.Preview1->showText("This picture can not be shown: " + read.result.reason);
    }
    return read.result;
}

OpResult Win32Window::loadPictureBox(const std::string& path) {
    const WinPictureRead read = headerRead_.read(path, {}, ReadForSelection); // the header tells the size
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
    if (!wait.cancellable) {
        return RunOffThread(work, progress, wait);
    }
    // Only Exit, File > Exit, the close box and Cancel take input meanwhile. The keys go to Cancel,
    // and the focus moves there before its control is disabled, which would leave the keys nowhere.
    if (vent_) {
        vent_->focusCancel();
    }
    std::vector<std::pair<Control*, bool>> controls;
    for (Control* control : std::initializer_list<Control*>{
             c_.List1.get(), c_.Command1.get(), c_.Command2.get(), c_.Command3.get(), c_.Command4.get(),
             c_.Command5.get(), c_.Command6.get(), c_.Command7.get()}) {
        controls.emplace_back(control, control->enabled());
    }
    for (const auto& option : c_.Option) {
        controls.emplace_back(option.get(), option->enabled());
    }
    for (auto& [control, enabled] : controls) {
        control->setEnabled(false);
    }
    ::EnableMenuItem(::GetMenu(hwnd_), kMenuUpdate, MF_BYCOMMAND | MF_GRAYED);
    if (vent_) {
        vent_->onCancel = [this] {
            handlers_.cancel();
        };
    }
    const ScopeExit restore([&] {
        ::EnableMenuItem(::GetMenu(hwnd_), kMenuUpdate, MF_BYCOMMAND | MF_ENABLED);
        for (auto& [control, enabled] : controls) {
            control->setEnabled(enabled);
        }
    });
    return handlers_.runCancellable([&](const std::function<bool()>& cancelled) {
        return RunOffThread(work, progress, wait, cancelled);
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
    // Decoded no larger than the page needs, so that a very large photo prints as well.
    const PixelSize dots = printer_.dots(landscape, widthMm, heightMm);
    const WinPictureRead read = ReadWithPatience(picturePath_, dots, kPrintReadSilence);
    if (!read.result.ok()) {
        return read.result;
    }
    return printer_.print(std::string(kProgramTitle), landscape, read.image);
}

void Win32Window::doEvents() {
    DoEvents();
}

void Win32Window::quit() {
    if (WorkUnderWay()) {
        // A search or a read may be stuck in a drive that stopped answering; nothing is left to
        // write, since every change was written when it was made.
        std::_Exit(0);
    }
    ::PostQuitMessage(0);
}

} // namespace zelvano
