#pragma once

#include "app/HandlerRunner.h"
#include "platform/Window.h"
#include "platform/qt/Controls.h"
#include "platform/qt/PictureReader.h"
#include "platform/qt/WaitGuards.h"

#include <QMainWindow>

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class QFileDialog;
class QPrinter;

namespace zelvano {

// fmZelvano on Qt: builds the controls, forwards the user's actions to the handlers, and is the
// window seam the handlers drive. The program's own changes are made with signals blocked, so
// they never come back as events.
class MainWindow : public QMainWindow, public Window {
    Q_OBJECT

public:
    MainWindow();
    ~MainWindow() override;

    // Forwards the user's actions on the controls and menus to `form`.
    void wire(FmZelvano& form);
    // Start-up, run as the handlers run: nothing the user does starts a command in its middle.
    void load();
    [[nodiscard]] const Controls& controls() const { return c_; }

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
    // The printer Print uses; the window tests send it to a PDF file.
    [[nodiscard]] QPrinter& printer();
    void doEvents() override;
    void quit() override;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildMenus();
    void openWait(const QString& label);
    // Delivers the user's clicks and keys that a short wait held back, once the command has ended.
    void deliverHeld();
    // The controls a wait greys.
    [[nodiscard]] std::vector<QWidget*> waitingControls() const;
    [[nodiscard]] std::string driveOf(const std::string& path) const;
    // Reads a picture off the window's thread, as every drive is waited for.
    PictureRead readPicture(const std::string& path, QSize bound, std::chrono::milliseconds silence);

    Controls c_;
    class WaitWindow* vent_ = nullptr;
    bool busy_ = false;
    class QAction* update_ = nullptr; // File > ... the web page of updates
    HandlerRunner handlers_;
    std::string picturePath_; // what Picture1 holds
    std::optional<PixelSize> pictureSize_;
    std::unique_ptr<QPrinter> printer_;
    std::function<std::string(const std::string&)> driveOf_;
    std::vector<HeldInput> held_;
    QFileDialog* saveDialog_ = nullptr;
};

} // namespace zelvano
