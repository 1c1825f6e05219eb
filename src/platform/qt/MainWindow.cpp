#include "platform/qt/MainWindow.h"

#include "app/ProductInfo.h"
#include "fileops/FileNames.h"
#include "platform/FileFailure.h"
#include "platform/ScopeExit.h"
#include "platform/Worker.h"
#include "platform/qt/OffThread.h"
#include "platform/qt/PictureReader.h"
#include "platform/qt/PrintQueue.h"
#include "platform/qt/Texts.h"
#include "platform/qt/WaitGuards.h"
#include "platform/qt/WaitWindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>
#include <QInputDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QMessageBox>
#include <QPainter>
#include <QPointer>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QTimer>

#include <chrono>
#include <cmath>

namespace zelvano {

namespace {

int ShiftState(Qt::KeyboardModifiers m) {
    return (m.testFlag(Qt::ShiftModifier) ? 1 : 0) | (m.testFlag(Qt::ControlModifier) ? 2 : 0) |
           (m.testFlag(Qt::AltModifier) ? 4 : 0);
}

QString Title() {
    return QString::fromUtf8(kProgramTitle.data(), static_cast<qsizetype>(kProgramTitle.size()));
}

} // namespace

MainWindow::~MainWindow() = default;

MainWindow::MainWindow() : c_(BuildControls(*this)) {
    setObjectName(QStringLiteral("fmZelvano"));
    setWindowTitle(QString::fromUtf8(kWindowCaption.data(), static_cast<qsizetype>(kWindowCaption.size())));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint); // resizable, no maximise button
    buildMenus();
    c_.List1->installEventFilter(this);
    resize(sizeHint());
}

void MainWindow::buildMenus() {
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    file->setObjectName(QStringLiteral("meFile"));
    QAction* exit = file->addAction(QStringLiteral("Exit"));
    exit->setObjectName(QStringLiteral("meExit"));
    connect(exit, &QAction::triggered, this, handlers_.forwardExit(&FmZelvano::meExit_Click));

    QMenu* about = menuBar()->addMenu(QStringLiteral("&Abut Brimlet"));
    about->setObjectName(QStringLiteral("meAbut"));
    update_ = about->addAction(QStringLiteral("Look fore Brimlet update"));
    update_->setObjectName(QStringLiteral("meUpdate"));
    connect(update_, &QAction::triggered, this, handlers_.forward(&FmZelvano::meUpdate_Click));
}

void MainWindow::wire(FmZelvano& form) {
    handlers_.attach(form);
    handlers_.whenIdle = [this] {
        deliverHeld();
    };
    connect(c_.Command1, &QPushButton::clicked, this, handlers_.forward(&FmZelvano::Command1_Click));
    connect(c_.Command2, &QPushButton::clicked, this, handlers_.forward(&FmZelvano::Command2_Click));
    connect(c_.Command3, &QPushButton::clicked, this, handlers_.forward(&FmZelvano::Command3_Click));
    connect(c_.Command4, &QPushButton::clicked, this, handlers_.forward(&FmZelvano::Command4_Click));
    connect(c_.Command5, &QPushButton::clicked, this, handlers_.forward(&FmZelvano::Command5_Click));
    connect(c_.Command6, &QPushButton::clicked, this, handlers_.forward(&FmZelvano::Command6_Click));
    connect(c_.Command7, &QPushButton::clicked, this, handlers_.forward(&FmZelvano::Command7_Click));
    connect(c_.Command8, &QPushButton::clicked, this, handlers_.forwardExit(&FmZelvano::Command8_Click));
    // The drive a picture is on, as the handlers' own waits name it.
    driveOf_ = [&os = form.context().os](const std::string& path) {
        return os.driveOf(path);
    };
    for (int i = 0; i < static_cast<int>(c_.Option.size()); ++i) {
        connect(c_.Option[static_cast<std::size_t>(i)], &QRadioButton::toggled, this, [this, i](bool on) {
            if (on) {
                handlers_.run([i](FmZelvano& f) { f.OptionClick(i); });
            }
        });
    }
    connect(c_.List1, &QListWidget::itemSelectionChanged, this, [this] {
        if (listIndex() >= 0) {
            handlers_.run([](FmZelvano& f) { f.List1_Click(); });
        }
    });
}

void MainWindow::load() {
    handlers_.run([](FmZelvano& form) { form.Form_Load(); });
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == c_.List1 && event->type() == QEvent::KeyPress && handlers_.attached()) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Backspace || key->key() == Qt::Key_Delete) {
            const int code = key->key() == Qt::Key_Backspace ? kKeyBackspace : kKeyDelete;
            const int shift = ShiftState(key->modifiers());
            handlers_.run([code, shift](FmZelvano& f) { f.List1_KeyDown(code, shift); });
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (!handlers_.mayClose()) {
        event->ignore(); // as Exit, it waits until the command under way has ended
        return;
    }
    event->accept();
    quit(); // closing by the frame ends the program as Exit does, a scan under way too
}

void MainWindow::listClear() {
    const QSignalBlocker block(c_.List1);
    c_.List1->clear();
}

void MainWindow::listAdd(const std::string& text) {
    const QSignalBlocker block(c_.List1);
    auto* item = new QListWidgetItem(Display(text));
    item->setData(Qt::UserRole, QByteArray(text.data(), static_cast<qsizetype>(text.size())));
    c_.List1->addItem(item);
}

int MainWindow::listCount() const {
    return c_.List1->count();
}

std::string MainWindow::listText(int index) const {
    const QListWidgetItem* item = c_.List1->item(index);
    return item == nullptr ? std::string() : item->data(Qt::UserRole).toByteArray().toStdString();
}

int MainWindow::listIndex() const {
    const QList<QListWidgetItem*> selected = c_.List1->selectedItems();
    return selected.isEmpty() ? -1 : c_.List1->row(selected.front());
}

void MainWindow::setListIndex(int index) {
    const QSignalBlocker block(c_.List1);
    if (index < 0) {
        c_.List1->clearSelection();
    }
    c_.List1->setCurrentRow(index);
}

void MainWindow::focusList() {
    c_.List1->setFocus(Qt::OtherFocusReason);
}

int MainWindow::checkedOption() const {
    for (std::size_t i = 0; i < c_.Option.size(); ++i) {
        if (c_.Option[i]->isChecked()) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

void MainWindow::setCheckedOption(int option) {
    QRadioButton* button = c_.Option.at(static_cast<std::size_t>(option));
    const QSignalBlocker block(button);
    button->setChecked(true);
    // Tab enters the group at the chosen type, as it does once the user has been in the group,
    // not at the first button, where Space or an arrow would choose a type unasked.
    for (QRadioButton* other : c_.Option) {
        other->setFocusPolicy(other == button ? Qt::StrongFocus : Qt::ClickFocus);
    }
}

void MainWindow::setEnabled(Button button, bool enabled) {
    (button == Button::Command1 ? c_.Command1 : c_.Command7)->setEnabled(enabled);
}

void MainWindow::setCounterCaption(const std::string& text) {
    c_.Label2->setText(Display(text));
    FitOnOneLine(*c_.Label2, font()); // a count in the hundred thousands needs more than the label's room
}

void MainWindow::setPanelText(Panel panel, const std::string& text) {
    (panel == Panel::One ? c_.Panel1 : c_.Panel2)->setText(Display(text));
}

OpResult MainWindow::showPreview(const std::string& path) {
    c_.Preview1->clear();
    if (path.empty()) {
        return OpResult::success();
    }
    PictureRead read = readPicture(path, c_.Preview1->contentsRect().size(), kReadSilence);
    if (read.result.ok()) {
        c_.Preview1->setPixmap(QPixmap::fromImage(std::move(read.image)));
    } else {
        c_.Preview1->setText(
            QStringLiteral("This picture can not be shown: %1").arg(Display(read.result.reason)));
    }
    return read.result;
}

OpResult MainWindow::loadPictureBox(const std::string& path) {
    const PictureRead read = readPicture(path, QSize(), kReadSilence); // the header tells the size
    if (read.result.ok()) {
        picturePath_ = path;
        pictureSize_ = PixelSize{read.uprightSize.width(), read.uprightSize.height()};
    }
    return read.result;
}

std::optional<PixelSize> MainWindow::pictureBoxPicture() const {
    return pictureSize_;
}

PixelRect MainWindow::workArea() const {
    const QRect r = screen()->availableGeometry();
    return {r.left(), r.top(), r.width(), r.height()};
}

PixelSize MainWindow::windowFrameSize() const {
    return {frameGeometry().width(), frameGeometry().height()};
}

void MainWindow::moveWindow(int left, int top) {
    move(left, top);
}

int MainWindow::twipsPerPixel() const {
    const double dpi = screen()->logicalDotsPerInchX();
    return dpi > 0 ? static_cast<int>(std::lround(1440.0 / dpi)) : kLayoutTwipsPerPixel;
}

void MainWindow::showWindow() {
    show();
    doEvents();
}

void MainWindow::message(const std::string& text) {
    QMessageBox box(QMessageBox::NoIcon, Title(), Display(text), QMessageBox::Ok, this);
    box.exec();
}

bool MainWindow::askYesNo(const std::string& text) {
    QMessageBox box(QMessageBox::NoIcon, Title(), Display(text), QMessageBox::Yes | QMessageBox::No, this);
    return box.exec() == QMessageBox::Yes;
}

void MainWindow::showWait() {
    openWait(QStringLiteral(" Pleace wait - Scanning computer "));
}

void MainWindow::openWait(const QString& label) {
    if (vent_ == nullptr) {
        vent_ = new WaitWindow(this, label);
        connect(vent_, &WaitWindow::cancelled, this, [this] { handlers_.cancel(); });
    }
    vent_->setProgress({});
    vent_->show();
    vent_->raise();
    vent_->activateWindow(); // the keys are Cancel's while the scan runs
}

void MainWindow::setWaitProgress(const std::string& text) {
    if (vent_ != nullptr) {
        vent_->setProgress(Display(text));
    }
}

void MainWindow::closeWait() {
    // Counts the window's own activity too: a tool window is active along with its owner.
    const bool hadKeys = vent_ != nullptr && vent_->isActiveWindow();
    delete vent_;
    vent_ = nullptr;
    if (hadKeys) {
        activateWindow(); // the keys come back here, also where no window manager gives them back
    }
}

void MainWindow::setBusyCursor(bool busy) {
    if (busy != busy_) {
        busy ? QApplication::setOverrideCursor(Qt::WaitCursor) : QApplication::restoreOverrideCursor();
        busy_ = busy;
    }
}

Ending MainWindow::runWhilePainting(const std::function<void()>& work, const std::function<void()>& progress,
                                    Wait wait) {
    // Of the user's input only Exit, File > Exit, the close box and the wait window take any.
    InputGate gate([this](const QWidget& w) {
        return &w == c_.Command8 || (vent_ != nullptr && (&w == vent_ || vent_->isAncestorOf(&w))) ||
               qobject_cast<const QMenuBar*>(&w) != nullptr || qobject_cast<const QMenu*>(&w) != nullptr;
    });
    std::optional<QuietControls> quiet; // while a wait window is up
    const bool own = vent_ == nullptr;  // a scan's is up already, for its whole run
    if (!own) {
        gate.dropFromNow();
        quiet.emplace(waitingControls(), update_, c_.Command8, focusWidget());
    }
    QElapsedTimer clock;
    clock.start();
    bool named = false; // the drive waited for, once the wait is a long one
    const auto tick = [&] {
        if (!wait.drive.empty() && !named && clock.elapsed() >= kWaitWindowAfter.count()) {
            named = true;
            if (own) {
                gate.dropFromNow(); // a long wait shows itself: what was clicked before it is no more wanted
                quiet.emplace(waitingControls(), update_, c_.Command8, focusWidget());
                openWait(QStringLiteral(" Please wait "));
            }
            setWaitProgress("Waiting for " + wait.drive + " to answer");
        }
        if (progress) {
            progress();
        }
    };
    const ScopeExit close([&] {
        if (own && vent_ != nullptr) {
            closeWait();
        }
        for (HeldInput& input : gate.takeHeld()) {
            held_.push_back(std::move(input));
        }
        deliverHeld();
    });
    return handlers_.runWait(
        [&](const std::function<bool()>& cancelled) { return RunOffThread(work, tick, wait, cancelled); });
}

void MainWindow::deliverHeld() {
    // One at a time, each from the main loop once no command runs: what one starts runs to its end
    // before the next is delivered.
    QTimer::singleShot(0, this, [this] {
        if (held_.empty() || handlers_.running()) {
            return;
        }
        const HeldInput input = std::move(held_.front());
        held_.erase(held_.begin());
        if (input.first != nullptr) {
            QCoreApplication::sendEvent(input.first, input.second.get());
        }
        deliverHeld();
    });
}

std::vector<QWidget*> MainWindow::waitingControls() const {
    std::vector<QWidget*> controls = {c_.List1,    c_.Command1, c_.Command2, c_.Command3,
                                      c_.Command4, c_.Command5, c_.Command6, c_.Command7};
    controls.insert(controls.end(), c_.Option.begin(), c_.Option.end());
    return controls;
}

std::string MainWindow::driveOf(const std::string& path) const {
    return driveOf_ ? driveOf_(path) : FolderPart(path, '/') + "/";
}

PictureRead MainWindow::readPicture(const std::string& path, QSize bound, std::chrono::milliseconds silence) {
    return ReadPictureOffThread(*this, driveOf(path), path, bound, silence);
}

std::string MainWindow::inputBox(const std::string& prompt, const std::string& title,
                                 const std::string& text) {
    QString shown = Display(text);
    for (;;) {
        bool ok = false;
        const QString answer =
            QInputDialog::getText(this, Display(title), Display(prompt), QLineEdit::Normal, shown, &ok);
        if (!ok) {
            return {};
        }
        if (const auto bytes = FromEdited(answer, text)) {
            return *bytes;
        }
        message(std::string(kNotWritable));
        shown = answer;
    }
}

std::optional<std::string> MainWindow::saveFileDialog(const std::string& fileName) {
    // One dialog for the whole run: a thread of Qt's own reads the folders it shows, which a drive
    // that has stopped answering holds, and a dialog that went would wait for that thread.
    if (saveDialog_ == nullptr) {
        saveDialog_ = new QFileDialog(this);
        saveDialog_->setAcceptMode(QFileDialog::AcceptSave);
        saveDialog_->setOption(QFileDialog::DontConfirmOverwrite);
    }
    QString shown = Display(fileName);
    for (;;) {
        saveDialog_->selectFile(shown);
        if (saveDialog_->exec() != QDialog::Accepted || saveDialog_->selectedFiles().isEmpty()) {
            return std::nullopt;
        }
        const QString chosen = saveDialog_->selectedFiles().constFirst();
        // The preset name may have been kept, and its bytes with it; the folder is the dialog's.
        const QString path = QDir::toNativeSeparators(chosen);
        const qsizetype cut = path.lastIndexOf(QDir::separator()) + 1;
        const auto folder = FromEdited(path.left(cut), {});
        const auto name = FromEdited(path.mid(cut), fileName);
        if (folder && name) {
            return *folder + *name;
        }
        message(std::string(kNotWritable));
        shown = chosen;
    }
}

QPrinter& MainWindow::printer() {
    if (!printer_) { // made on first use: finding the printers takes time at start-up
        printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    }
    return *printer_;
}

bool MainWindow::printerDialog() {
    // Said as the system printer dialog says it on Windows; Qt's would offer only a PDF file.
    if (QPrinterInfo::availablePrinters().isEmpty()) {
        message(std::string(kNoPrinter));
        return false;
    }
    QPrintDialog dialog(&printer(), this);
    if (dialog.exec() != QDialog::Accepted) {
        return false;
    }
    // The printable area is the printer's own, not Qt's: it keeps margins of its own otherwise.
    const QPageLayout layout = printer().pageLayout();
    printer().setPageMargins(layout.minimumMargins(), layout.units());
    return true;
}

PrintArea MainWindow::printableArea() {
    QPageLayout layout = printer().pageLayout();
    layout.setOrientation(QPageLayout::Portrait);
    const QRectF area = layout.paintRect(QPageLayout::Millimeter);
    return {static_cast<float>(area.width()), static_cast<float>(area.height())};
}

OpResult MainWindow::printPicture(bool landscape, float widthMm, float heightMm) {
    if (const std::string refused = QueueRefuses(printer().printerName().toStdString()); !refused.empty()) {
        return OpResult::fail(Failure::Other, refused);
    }
    printer().setPageOrientation(landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
    const double perInch = printer().resolution();
    const QSizeF target(widthMm * perInch / kMillimetresPerInch, heightMm * perInch / kMillimetresPerInch);
    // Decoded no larger than the page shows, so that a very large photo prints as well.
    const QSize dots = target.toSize().expandedTo(QSize(1, 1));
    const PixelSize decoded = PrintPixels({dots.width(), dots.height()}, perInch, perInch);
    const PictureRead read =
        readPicture(picturePath_, QSize(decoded.width, decoded.height), kPrintReadSilence);
    if (!read.result.ok()) {
        return read.result;
    }
    QPainter painter;
    if (!painter.begin(&printer())) {
        return OpResult::fail(Failure::Other, "the printer could not be started");
    }
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(QRectF(QPointF(0, 0), target), read.image);
    painter.end();
    return OpResult::success();
}

void MainWindow::doEvents() {
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void MainWindow::quit() {
    // Nothing is left to write, since every change was written when it was made; and a search, a
    // read or the save dialog's own reader may be held by a drive that stopped answering, which
    // ending in the usual way would wait for.
    Worker::EndProgramNow();
}

} // namespace zelvano
