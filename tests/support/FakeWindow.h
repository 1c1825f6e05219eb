#pragma once

#include "platform/Window.h"
#include "printing/PrintGeometry.h"

#include <chrono>
#include <deque>
#include <functional>
#include <map>
#include <string>
#include <thread>
#include <vector>

namespace zelvano::test {

// A scripted main window: it records what the logic shows, answers questions from a script, and
// reads pictures from real files (BMP headers; anything else is not a picture).
class FakeWindow : public Window {
public:
    // What was shown, in order: "message:<text>", "ask:<text>", "preview:<path>", "show".
    std::vector<std::string> journal;
    std::vector<std::string> items;
    int selected = -1;
    int option = -1;
    std::map<Button, bool> enabled{{Button::Command1, false}, {Button::Command7, true}};
    std::string counter;
    std::string panel1;
    std::string panel2;
    std::string preview;
    int previews = 0; // how often the preview was asked to show a picture: one per selection handling
    std::optional<PixelSize> picture;
    std::deque<bool> answers;                    // for askYesNo, first first
    std::function<void()> whileAsking;           // runs while a question is open
    std::map<std::string, OpResult> unreadable;  // the loader cannot even start on these paths
    std::map<std::string, OpResult> undecodable; // the header reads, the preview fails
    bool printAnswer = true;                     // the printer dialog: true prints, false cancels
    PrintArea page{190.0F, 277.0F};              // A4 less margins
    std::vector<PrintPlacement> printed;
    OpResult printResult;                          // what printing reports
    std::deque<std::string> typed;                 // input box answers; empty (Cancel) when none is left
    std::deque<std::optional<std::string>> saveAs; // save dialog answers; Cancel when none is left
    bool focused = false;
    bool waitShown = false;
    std::string waitProgress;
    bool busy = false;
    PixelRect area{0, 0, 1280, 1024};
    PixelSize frame{776, 550};
    PixelRect placed{-1, -1, 0, 0};

    // The texts of one kind of journal line ("message", "ask", "preview"), in order.
    [[nodiscard]] std::vector<std::string> shown(const std::string& kind) const;
    [[nodiscard]] std::vector<std::string> messages() const { return shown("message"); }
    [[nodiscard]] std::vector<std::string> questions() const { return shown("ask"); }

    void listClear() override {
        items.clear();
        selected = -1;
    }
    void listAdd(const std::string& text) override { items.push_back(text); }
    [[nodiscard]] int listCount() const override { return static_cast<int>(items.size()); }
    [[nodiscard]] std::string listText(int index) const override {
        return index >= 0 && index < listCount() ? items[static_cast<std::size_t>(index)] : std::string();
    }
    [[nodiscard]] int listIndex() const override { return selected; }
    void setListIndex(int index) override { selected = index; }
    void focusList() override { focused = true; }
    [[nodiscard]] int checkedOption() const override { return option; }
    void setCheckedOption(int o) override { option = o; }
    void setEnabled(Button button, bool on) override { enabled[button] = on; }
    void setCounterCaption(const std::string& text) override { counter = text; }
    void setPanelText(Panel panel, const std::string& text) override {
        (panel == Panel::One ? panel1 : panel2) = text;
    }
    OpResult showPreview(const std::string& path) override;
    OpResult loadPictureBox(const std::string& path) override;
    [[nodiscard]] std::optional<PixelSize> pictureBoxPicture() const override { return picture; }
    [[nodiscard]] PixelRect workArea() const override { return area; }
    [[nodiscard]] PixelSize windowFrameSize() const override { return frame; }
    void moveWindow(int left, int top) override { placed = {left, top, frame.width, frame.height}; }
    [[nodiscard]] int twipsPerPixel() const override { return 15; }
    void showWindow() override { journal.emplace_back("show"); }
    void message(const std::string& text) override;
    bool askYesNo(const std::string& text) override;
    void showWait() override {
        journal.emplace_back("wait");
        waitShown = true;
    }
    void setWaitProgress(const std::string& text) override {
        if (text != waitProgress) {
            journal.push_back("progress:" + text);
        }
        waitProgress = text;
    }
    void closeWait() override {
        journal.emplace_back("wait closed");
        waitShown = false;
    }
    void setBusyCursor(bool on) override { busy = on; }
    // The work runs on a thread of its own. The user presses Cancel this long after it began, if
    // the work has not ended by then.
    std::optional<std::chrono::milliseconds> cancelAfter;
    std::vector<Wait> waits;               // every wait asked for
    std::vector<std::string> whileWaiting; // and what the window showed as it began
    [[nodiscard]] std::string showing() const;
    Ending runWhilePainting(const std::function<void()>& work, const std::function<void()>& progress,
                            Wait wait) override;
    std::string inputBox(const std::string& prompt, const std::string& title,
                         const std::string& text) override;
    std::optional<std::string> saveFileDialog(const std::string& fileName) override;
    bool printerDialog() override {
        journal.emplace_back("printer dialog");
        return printAnswer;
    }
    [[nodiscard]] PrintArea printableArea() override { return page; }
    OpResult printPicture(bool landscape, float widthMm, float heightMm) override {
        printed.push_back({landscape, widthMm, heightMm});
        return printResult;
    }
    std::function<void()> whilePainting; // runs as the window paints, between a handler's steps
    void doEvents() override {
        if (whilePainting) {
            whilePainting();
        }
    }
    void quit() override {}

    // Waits for work left behind: a test opens what holds it back first.
    ~FakeWindow() override;
    void finishLeftBehind();

private:
    std::vector<std::thread> leftBehind_;
};

// Reads a picture's header (bitmap, PNG, GIF): its size, NotFound for a missing file,
// NotAPicture for anything else.
OpResult ReadBmpSize(const std::string& path, PixelSize& size);

} // namespace zelvano::test
