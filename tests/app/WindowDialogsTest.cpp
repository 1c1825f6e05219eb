#include "app/FmZelvano.h"
#include "picturelist/ListFile.h"
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
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTimer>

#include <chrono>
#include <deque>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <iostream>
#include <thread>

namespace zelvano {
namespace {

using Step = std::function<void(QWidget* dialog)>;

// Answers the modal dialogs the window opens, one step for each, in order. Whatever is still open
// after ten seconds is rejected and the test fails, so no test can hang on a dialog.
class DialogScript {
public:
    explicit DialogScript(std::deque<Step> steps) : steps_(std::move(steps)) {
        QObject::connect(&timer_, &QTimer::timeout, [this] { tick(); });
        timer_.start(5);
    }
    DialogScript(const DialogScript&) = delete;
    DialogScript& operator=(const DialogScript&) = delete;
    ~DialogScript() { EXPECT_TRUE(steps_.empty()) << steps_.size() << " dialogs did not come"; }

private:
    void tick() {
        QWidget* dialog = QApplication::activeModalWidget();
        if (++ticks_ > 2000) {
            ADD_FAILURE() << "a dialog was left open";
            if (dialog != nullptr) {
                qobject_cast<QDialog*>(dialog)->reject();
            }
            return;
        }
        if (dialog == nullptr || dialog == answered_ || steps_.empty()) {
            return;
        }
        answered_ = dialog;
        const Step step = std::move(steps_.front());
        steps_.pop_front();
        step(dialog);
    }

    std::deque<Step> steps_;
    QTimer timer_;
    QPointer<QWidget> answered_;
    int ticks_ = 0;
};

Step Type(const QString& text) {
    return [text](QWidget* w) {
        auto* input = qobject_cast<QInputDialog*>(w);
        ASSERT_NE(input, nullptr);
        if (!text.isNull()) {
            input->setTextValue(text);
        }
        input->accept();
    };
}

const QString kKept; // accept what the input box shows

const std::string kName = "caf\xE9.jpg"; // written in an 8-bit code page: not UTF-8

// A name that is not UTF-8 goes through the window and back unchanged wherever the user did not
// change it, and an edit keeps the bytes it did not touch.
TEST(WindowDialogs, ANameThatIsNotUtf8ComesBackAsItsBytes) {
    MainWindow window;
    {
        const DialogScript script({Type(kKept)});
        EXPECT_EQ(window.inputBox("Write the new name fore this picture.", "New name:", kName), kName);
    }
    {
        // A mark that stands for nothing cannot be written: refused, and the box comes back with
        // what was typed.
        QString refusal;
        QString shownAgain;
        const DialogScript script({Type(QStringLiteral("caf\uFFFD\uFFFD.jpg")),
                                   [&](QWidget* w) {
                                       auto* box = qobject_cast<QMessageBox*>(w);
                                       refusal = box->text();
                                       box->accept();
                                   },
                                   [&](QWidget* w) {
                                       shownAgain = qobject_cast<QInputDialog*>(w)->textValue();
                                       qobject_cast<QDialog*>(w)->reject();
                                   }});
        EXPECT_EQ(window.inputBox("p", "t", kName), "");
        EXPECT_TRUE(refusal.startsWith("The name holds characters that can not be written"))
            << refusal.toStdString();
        EXPECT_EQ(shownAgain, QStringLiteral("caf\uFFFD\uFFFD.jpg"));
    }
    {
        test::TestFolder dir;
        const DialogScript script({[&](QWidget* w) {
            auto* dialog = qobject_cast<QFileDialog*>(w);
            dialog->setDirectory(QString::fromStdString(dir.path()));
            static_cast<QDialog*>(dialog)->accept();
        }});
        EXPECT_EQ(window.saveFileDialog(kName), dir.path() + "/" + kName) << "the preset name is kept";
    }
}

TEST(WindowDialogs, EditedTexts) {
    struct Case {
        const char* what;
        QString text;
        std::string original;
        std::optional<std::string> bytes;
    };
    const std::vector<Case> cases = {
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
         "\xEF\xBB\xBF\xF0\x9F\x98\x80",
         "\xEF\xBB\xBF"
         "a\xF0\x9F\x98\x80"},
    };
    for (const auto& k : cases) {
        EXPECT_EQ(FromEdited(k.text, k.original), k.bytes) << k.what;
        EXPECT_EQ(FromEdited(Display(k.original), k.original), k.original) << k.what << ": shown, untouched";
    }
}

// The user's actions reach the handlers, the program's own do not. A drive that never answers in
// the middle of a scan: the wait window's Cancel button gives the window back within half a
// second, with the list as it was.
TEST(WindowDialogs, UserActionsReachTheHandlers) {
    test::TestFolder dir;
    test::TestOs os(dir.path());
    std::string text;
    for (const char* name : {"a.bmp", "b.bmp", "c.bmp"}) {
        dir.writeBmp(std::string("pics/") + name, 4, 4);
        text += FormatRecord(dir.folder("pics"), name);
    }
    const std::string list = dir.write("Zelvanobmp.log", text);
    std::filesystem::create_directories(dir.path() + "/disk");
    test::Gate silent;
    os.gate = &silent;
    os.drives = {dir.folder("disk")};
    os.gatedFolders = {dir.folder("disk")};
    MainWindow window;
    FmZelvano form(os, window);
    window.wire(form);
    form.Form_Load();
    window.setListIndex(1); // the program's own change: no event
    EXPECT_EQ(window.controls().Panel1->text().toStdString(), dir.folder("pics") + "a.bmp");
    window.controls().List1->setCurrentRow(2); // as a click does
    EXPECT_EQ(window.controls().Panel1->text().toStdString(), dir.folder("pics") + "c.bmp");
    EXPECT_EQ(window.controls().Panel2->text(), "Size: 120 x 120");
    EXPECT_FALSE(window.controls().Preview1->pixmap().isNull());

    // The keys that cancel are pressed on the real program (RealInputTest.sh); here, how soon.
    QElapsedTimer sincePress;
    QTimer::singleShot(300, &window, [&] {
        EXPECT_FALSE(window.controls().Command4->isEnabled()) << "no other command meanwhile";
        sincePress.start();
        window.findChild<QPushButton*>(QStringLiteral("Cancel"))->click();
    });
    window.controls().Command1->click();
    const qint64 toInput = sincePress.elapsed();
    std::cout << "Cancel to the window taking input: " << toInput << " ms\n";
    EXPECT_LT(toInput, 500);
    EXPECT_EQ(test::TestFolder::slurp(list), text);
    EXPECT_EQ(window.listText(0), "a.bmp");
    EXPECT_TRUE(window.controls().Command4->isEnabled());

    silent.open(); // the searches left behind end, and nothing of them is kept
    for (int waited = 0; WorkUnderWay() && waited < 5000; waited += 10) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_FALSE(WorkUnderWay());
    EXPECT_EQ(test::TestFolder::slurp(list), text);
}

} // namespace
} // namespace zelvano
