#include "app/FmZelvano.h"
#include "fileops/FileNames.h"
#include "platform/qt/MainWindow.h"
#include "platform/qt/OffThread.h"
#include "platform/qt/Texts.h"
#include "support/TestFolder.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QInputDialog>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>

#include <chrono>
#include <deque>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <optional>
#include <thread>
#include <tuple>

namespace zelvano {
namespace {

// Answers the modal dialogs the window opens, one step each, in order, and keeps what each showed
// as it came: an input box's text, a message box's message. A dialog still open after ten seconds
// is rejected and the test fails, so that no test can hang on one.
struct DialogScript : QTimer {
    explicit DialogScript(std::deque<std::function<void(QDialog*)>> s) : steps(std::move(s)) {
        connect(this, &QTimer::timeout, [this] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (++ticks > 2000 && dialog != nullptr) {
                ADD_FAILURE() << "a dialog was left open";
                dialog->reject();
            } else if (dialog != nullptr && !steps.empty()) {
                auto* input = qobject_cast<QInputDialog*>(dialog);
                shown << (input != nullptr ? input->textValue() : dialog->property("text").toString());
                steps.front()(dialog); // which closes it: the next one shown is the next dialog
                steps.pop_front();
            }
        });
        start(5);
    }
    ~DialogScript() override { EXPECT_TRUE(steps.empty()) << steps.size() << " dialogs did not come"; }

    std::deque<std::function<void(QDialog*)>> steps;
    QStringList shown;
    int ticks = 0;
};

// The user's actions reach the handlers, the program's own do not. A drive that never answers in
// the middle of a scan: the wait window's Cancel button gives the window back within half a
// second, and no other command takes input meanwhile. A name that is not UTF-8 goes through the
// dialogs and back unchanged wherever the user did not change it, and an edit keeps the bytes it did
// not touch; a mark that stands for nothing cannot be written: refused, and the box comes back with
// what was typed.
TEST(WindowDialogs, UserActionsReachTheHandlersAndNamesComeBackAsTheirBytes) {
    test::TestFolder dir;
    test::TestOs os(dir.path());
    const std::string pics = dir.folder("pics");
    std::vector<std::pair<std::string, std::string>> records;
    for (int i = 0; i < 31; ++i) {
        records.emplace_back(pics, "p" + std::to_string(i) + ".bmp");
        dir.writeBmp("pics/" + records.back().second, 4, 4);
    }
    dir.write("Zelvanobmp.log", test::ListText(records));
    std::filesystem::create_directories(dir.path() + "/disk");
    test::Gate silent;
    os.gate = &silent;
    os.drives = {dir.folder("disk")};
    os.silent = {dir.folder("disk")};
    MainWindow window;
    const Controls& c = window.controls();
    FmZelvano form(os, window);
    window.wire(form);
    form.Form_Load();
    window.setListIndex(1); // the program's own change: no event
    EXPECT_EQ(c.Panel1->text().toStdString(), pics + "p0.bmp");
    c.Command3->click(); // Next 30, and back
    EXPECT_EQ(c.List1->count(), 1);
    c.Command2->click();
    EXPECT_EQ(c.List1->count(), 30);
    c.List1->setCurrentRow(2); // as a click does
    EXPECT_EQ(c.Panel1->text().toStdString(), pics + "p2.bmp");
    EXPECT_EQ(c.Panel2->text(), "Size: 120 x 120");
    EXPECT_FALSE(c.Preview1->pixmap().isNull());

    // The keys that cancel are pressed on the real program (RealInputTest.sh); here, how soon.
    QElapsedTimer sincePress;
    QTimer::singleShot(300, &window, [&] {
        EXPECT_FALSE(c.Command4->isEnabled()) << "no other command meanwhile";
        sincePress.start();
        window.findChild<QPushButton*>(QStringLiteral("Cancel"))->click();
    });
    c.Command1->click();
    EXPECT_LT(sincePress.elapsed(), 500) << "from Cancel to the window taking input";
    EXPECT_TRUE(c.Command4->isEnabled());

    silent.open(); // the searches left behind end
    for (int waited = 0; WorkUnderWay() && waited < 5000; waited += 10) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_FALSE(WorkUnderWay());

    // A name that is not UTF-8, through the input box (kept, then edited) and the save dialog.
    const std::string name = "caf\xE9.jpg"; // written in an 8-bit code page: not UTF-8
    const QString typed = QStringLiteral("caf\uFFFD\uFFFD.jpg");
    const DialogScript script({
        [](QDialog* d) { d->accept(); }, // the name as it is shown
        [&](QDialog* d) {
            qobject_cast<QInputDialog*>(d)->setTextValue(typed);
            d->accept();
        },
        [](QDialog* d) { d->accept(); }, // the refusal
        [](QDialog* d) { d->reject(); }, // the box again, with what was typed
        [&](QDialog* d) {
            qobject_cast<QFileDialog*>(d)->setDirectory(QString::fromStdString(dir.path()));
            d->accept();
        },
    });
    EXPECT_EQ(window.inputBox("Write the new name fore this picture.", "New name:", name), name);
    EXPECT_EQ(window.inputBox("p", "t", name), "");
    EXPECT_EQ(window.saveFileDialog(name), dir.path() + "/" + name) << "the preset name is kept";
    EXPECT_EQ(script.shown,
              (QStringList{Display(name), Display(name), Display(std::string(kNotWritable)), typed, ""}));

    // Edited texts: what each gives back, and that each shown and left untouched gives its bytes.
    const std::vector<std::tuple<const char*, QString, std::string, std::optional<std::string>>> cases = {
        {"typed letters are UTF-8", QStringLiteral("\u00E6\u00F8\u00E5.jpg"), "a.jpg",
         "\xC3\xA6\xC3\xB8\xC3\xA5.jpg"},
        {"marks kept in order", QStringLiteral("\uFFFDx\uFFFD"), "\xE9y\xFF", "\xE9x\xFF"},
        {"a real U+FFFD stays one", QStringLiteral("\uFFFD.jpg"), "\xEF\xBF\xBD.gif", "\xEF\xBF\xBD.jpg"},
        {"a mark dropped", QStringLiteral("\uFFFD"), "\xE9\xE8", std::nullopt},
        {"a mark for nothing", QStringLiteral("\uFFFD"), "plain", std::nullopt},
        {"half a surrogate pair", QString(QChar(0xD83D)) + "x", "x", std::nullopt},
        {"over long and surrogate bytes are marks", QStringLiteral("\uFFFD\uFFFD|\uFFFD\uFFFD\uFFFD"),
         "\xC0\xAF|\xED\xA0\x80", "\xC0\xAF|\xED\xA0\x80"},
        {"a byte-order mark is a character like any", QStringLiteral("\uFEFFa\U0001F600"),
         "\xEF\xBB\xBF\xF0\x9F\x98\x80", "\xEF\xBB\xBF\x61\xF0\x9F\x98\x80"},
    };
    for (const auto& [what, text, original, bytes] : cases) {
        EXPECT_EQ(FromEdited(text, original), bytes) << what;
        EXPECT_EQ(FromEdited(Display(original), original), original) << what << ": shown, untouched";
    }
}

} // namespace
} // namespace zelvano
