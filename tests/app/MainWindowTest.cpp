#include "platform/qt/MainWindow.h"

#include "app/FmZelvano.h"
#include "platform/PictureSignature.h"
#include "platform/qt/OffThread.h"
#include "platform/qt/PictureReader.h"
#include "support/PlainDriveMount.h"
#include "support/PrivateMounts.h"
#include "support/TestFolder.h"

#include <QApplication>
#include <QBuffer>
#include <QGroupBox>
#include <QImageWriter>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <gtest/gtest.h>
#include <sstream>
#include <stdexcept>
#include <thread>

namespace zelvano {
namespace {

struct Expected {
    const char* name;
    QString caption;
    QRect twips;
};

// The designed layout, in twips; option buttons relative to their frame.
const std::vector<Expected> kLayout = {
    {"List1", {}, {60, 480, 2100, 5910}},
    {"Command1", "Scan disk/disks", {360, 6960, 1395, 375}},
    {"Command2", "Previous 30", {60, 6480, 1035, 375}},
    {"Command3", "Next 30", {1080, 6480, 1095, 375}},
    {"Command4", "Rename", {8340, 6960, 795, 375}},
    {"Command5", "Delete", {9180, 6960, 735, 375}},
    {"Label1", "Picture names", {240, 60, 1755, 315}},
    {"Command6", "Copy", {9960, 6960, 735, 375}},
    {"Command8", "Exit", {10740, 6960, 735, 375}},
    {"Frame1", "Picture format", {4440, 6900, 2955, 435}},
    {"Option1", "jpg", {60, 180, 555, 195}},
    {"Option2", "jpeg", {600, 180, 675, 195}},
    {"Option3", "bmp", {1260, 180, 615, 195}},
    {"Label2", "", {2100, 7020, 2235, 255}},
    {"Picture3", "", {6000, 6360, 1695, 315}},
    {"Picture1", "", {2400, 120, 1215, 495}},
    {"Preview1", "", {2220, 60, 9255, 6795}},
    {"Command7", "Print", {7500, 6960, 795, 375}},
    {"Option4", "gif", {1920, 180, 615, 195}},
    {"Option5", "tif", {2460, 180, 435, 195}},
};

QString Caption(QWidget* w) {
    auto* b = qobject_cast<QAbstractButton*>(w);
    auto* l = qobject_cast<QLabel*>(w);
    auto* g = qobject_cast<QGroupBox*>(w);
    return b != nullptr ? b->text() : l != nullptr ? l->text() : g != nullptr ? g->title() : QString();
}

TEST(MainWindow, EveryControlAtItsPlaceWithItsCaption) {
    MainWindow window;
    window.show();
    for (const auto& e : kLayout) {
        auto* w = window.findChild<QWidget*>(QString::fromLatin1(e.name));
        ASSERT_NE(w, nullptr) << e.name;
        const QRect px(e.twips.x() / 15, e.twips.y() / 15, e.twips.width() / 15, e.twips.height() / 15);
        EXPECT_EQ(w->geometry(), px) << e.name;
        EXPECT_EQ(Caption(w), e.caption) << e.name;
    }
    EXPECT_EQ(window.centralWidget()->size(), QSize(770, 492));
    EXPECT_EQ(window.statusBar()->height(), 19);
    // The size panel is 110 wide, and the path panel about 645: it takes what the size panel leaves,
    // so that a photo's long size text shows whole.
    QLabel* panel1 = window.controls().Panel1;
    QLabel* panel2 = window.controls().Panel2;
    EXPECT_EQ(panel2->width(), 110);
    EXPECT_NEAR(panel1->width(), 645, 10);
    window.setPanelText(Panel::Two, "Size: 60060 x 45060");
    QApplication::processEvents();
    EXPECT_GE(panel2->contentsRect().width(), panel2->fontMetrics().horizontalAdvance(panel2->text()));
    EXPECT_LE(panel2->geometry().right(), window.statusBar()->width());
    // The longest counter caption and the wait window's texts fit on one line, in the fonts they got.
    window.setCounterCaption("500001 jpeg Pictures/ 500001");
    window.showWait();
    window.setWaitProgress("Waiting for /media/photographer/Holiday pictures 2019-2023/ to answer - "
                           "123456 pictures found, 1234567 folders searched");
    auto* vent = window.findChild<QWidget*>("Vent");
    for (QLabel* label : {window.controls().Label2, vent->findChild<QLabel*>("Label1"),
                          vent->findChild<QLabel*>("Progress")}) {
        EXPECT_LE(label->fontMetrics().horizontalAdvance(label->text()), label->contentsRect().width())
            << label->text().toStdString();
    }
    window.closeWait();
    EXPECT_FALSE(window.controls().Command1->isEnabled());
    EXPECT_TRUE(window.controls().Picture1->isHidden());
    EXPECT_EQ(window.checkedOption(), -1);
    EXPECT_TRUE(window.windowTitle().startsWith("Zelvano - Version 1.0 -"));
    QStringList menus; // the menus and their items, odd spelling and all
    for (QAction* menu : window.menuBar()->actions()) {
        menus << menu->text() << menu->menu()->actions().constFirst()->text();
    }
    EXPECT_EQ(menus, (QStringList{"&File", "Exit", "&Abut Brimlet", "Look fore Brimlet update"}));
}

// The "Picture format" box is drawn around its five buttons, not through them: with the buttons
// hidden, nothing of the box (line or caption) shows across their rows, and a line runs above and
// below them. Each button's mark and caption end before the next button begins.
TEST(MainWindow, TheFormatFrameStandsClearOfItsButtons) {
    MainWindow window;
    window.show();
    QGroupBox* frame = window.controls().Frame1;
    const auto& options = window.controls().Option;
    for (std::size_t i = 0; i < options.size(); ++i) {
        const int end = i + 1 < options.size() ? options[i + 1]->x() : frame->width() - 1;
        EXPECT_LE(options[i]->x() + options[i]->sizeHint().width(), end) << "Option" << i + 1;
        options[i]->hide();
    }
    const QImage box = frame->grab().toImage();
    const int background = qGray(frame->palette().color(QPalette::Window).rgb());
    const auto drawn = [&](int y, int from, int to) {
        int n = 0;
        for (int x = from; x < to; ++x) {
            n += qAbs(qGray(box.pixel(x, y)) - background) > 15 ? 1 : 0;
        }
        return n;
    };
    const int top = options[0]->y();
    const int bottom = options[0]->geometry().bottom();
    bool lineAbove = false;
    bool lineBelow = false;
    for (int y = 0; y < box.height(); ++y) {
        if (y >= top && y <= bottom) {
            EXPECT_EQ(drawn(y, 2, box.width() - 2), 0) << "row " << y << " crosses the buttons";
        }
        const bool line = drawn(y, 0, box.width()) > box.width() / 2;
        lineAbove = lineAbove || (line && y < top);
        lineBelow = lineBelow || (line && y > bottom);
    }
    EXPECT_TRUE(lineAbove);
    EXPECT_TRUE(lineBelow);
}

// The pages of a PDF file, and whether the first is wider than tall.
struct PdfPages {
    int count = 0;
    bool landscape = false;
};

PdfPages ReadPdf(const std::string& path) {
    const std::string pdf = test::TestFolder::slurp(path);
    PdfPages pages;
    for (std::size_t at = pdf.find("/Type /Page"); at != std::string::npos;
         at = pdf.find("/Type /Page", at + 1)) {
        pages.count += pdf.compare(at, 12, "/Type /Pages") != 0 ? 1 : 0;
    }
    const std::size_t box = pdf.find("/MediaBox [");
    if (box != std::string::npos) {
        std::istringstream numbers(pdf.substr(box + 11, 80));
        double x0 = 0, y0 = 0, x1 = 0, y1 = 0;
        numbers >> x0 >> y0 >> x1 >> y1;
        pages.landscape = x1 - x0 > y1 - y0;
    }
    return pages;
}

TEST(MainWindow, PrintsOnePageToAPdfFile) {
    test::TestFolder dir;
    MainWindow window;
    QImage picture(3000, 2000, QImage::Format_RGB32);
    picture.fill(Qt::blue);
    const std::string path = dir.path() + "/wide.jpg";
    ASSERT_TRUE(picture.save(QString::fromStdString(path)));
    ASSERT_TRUE(window.loadPictureBox(path).ok());
    for (const bool landscape : {true, false}) {
        const std::string pdf = dir.path() + (landscape ? "/landscape.pdf" : "/portrait.pdf");
        window.printer().setOutputFormat(QPrinter::PdfFormat);
        window.printer().setOutputFileName(QString::fromStdString(pdf));
        ASSERT_TRUE(window.printPicture(landscape, 150.0F, 100.0F).ok());
        const PdfPages pages = ReadPdf(pdf);
        EXPECT_EQ(pages.count, 1);
        EXPECT_EQ(pages.landscape, landscape);
    }
    const PrintArea area = window.printableArea();
    EXPECT_LT(area.width, area.height) << "measured in portrait";
}

// Work that fails during a scan's wait gives the controls back as they were.
TEST(MainWindow, AFailedWaitGivesTheControlsBack) {
    MainWindow window;
    window.setEnabled(Button::Command1, true);
    window.setEnabled(Button::Command7, false);
    EXPECT_THROW(window.runWhilePainting([] { throw std::runtime_error("lost"); }, {}, Wait::Cancellable()),
                 std::runtime_error);
    EXPECT_TRUE(window.controls().Command1->isEnabled());
    EXPECT_TRUE(window.controls().List1->isEnabled());
    EXPECT_FALSE(window.controls().Command7->isEnabled());
}

// A photo from a far drive is waited for while the drive keeps delivering, however long that takes;
// one whose drive stops delivering part way is given up once the drive has said nothing for the
// patience, and shown as such.
TEST(PictureReader, AFarDriveIsWaitedForAndASilentOneGivenUp) {
    test::TestFolder dir;
    QImage noise(400, 300, QImage::Format_RGB32);
    for (int y = 0; y < noise.height(); ++y) {
        for (int x = 0; x < noise.width(); ++x) {
            noise.setPixel(x, y, static_cast<QRgb>((x * 7919U + y * 104729U) * 2654435761U));
        }
    }
    const std::string photo = dir.path() + "/drive/photo.jpg";
    std::filesystem::create_directory(dir.path() + "/drive");
    ASSERT_TRUE(noise.save(QString::fromStdString(photo), "JPEG", 100));
    const auto size = std::filesystem::file_size(photo);
    const std::chrono::milliseconds patience(300);
    {
        // Three times the patience to deliver it all.
        const test::PlainDriveMount far(dir.path() + "/drive", {"--slow", std::to_string(size * 1000 / 900)});
        if (!far.ok()) {
            GTEST_SKIP() << far.why();
        }
        const PictureRead read = ReadPictureOffThread(photo, QSize(200, 150), patience);
        EXPECT_TRUE(read.result.ok()) << read.result.reason;
        EXPECT_EQ(read.uprightSize, QSize(400, 300));
    }
    const test::PlainDriveMount stalled(dir.path() + "/drive", {"--stall-after", std::to_string(size / 2)});
    ASSERT_TRUE(stalled.ok()) << stalled.why();
    const auto start = std::chrono::steady_clock::now();
    const PictureRead read = ReadPictureOffThread(photo, QSize(200, 150), patience);
    EXPECT_LT(std::chrono::steady_clock::now() - start, patience * 4);
    EXPECT_EQ(read.result.reason, "its drive did not answer");
    stalled.goOn(); // the read left behind ends
    for (int i = 0; i < 500 && WorkUnderWay(); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

// Bytes of a number, little-endian or big-endian, for picture headers made by hand.
std::string Bytes(std::uint32_t v, int count, bool big = false) {
    std::string out;
    for (int i = 0; i < count; ++i) {
        out += static_cast<char>((v >> (8 * (big ? count - 1 - i : i))) & 0xFF);
    }
    return out;
}

// A camera's photo: stored 4000 x 3000, its Exif block saying it lies on its side (orientation 6).
TEST(PictureReader, LargePhotoIsDecodedAtThePreviewSizeAndUpright) {
    test::TestFolder dir;
    QImage photo(4000, 3000, QImage::Format_RGB32);
    photo.fill(Qt::darkGreen);
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    ASSERT_TRUE(photo.save(&buffer, "jpeg"));
    const std::string tiff = std::string("MM\0*", 4) + Bytes(8, 4, true) + Bytes(1, 2, true) +
                             Bytes(274, 2, true) + Bytes(3, 2, true) + Bytes(1, 4, true) + Bytes(6, 2, true) +
                             Bytes(0, 2, true) + Bytes(0, 4, true);
    const std::string exif = std::string("Exif\0\0", 6) + tiff;
    const std::string path = dir.write(
        "photo.jpg", jpeg.toStdString().insert(
                         2, "\xFF\xE1" + Bytes(static_cast<std::uint32_t>(exif.size() + 2), 2, true) + exif));

    const PictureRead header = ReadPicture(path, QSize());
    ASSERT_TRUE(header.result.ok()) << header.result.reason;
    EXPECT_EQ(header.uprightSize, QSize(3000, 4000));
    EXPECT_EQ(ExifOrientation(test::TestFolder::slurp(path).substr(0, kExifBytes)), 6)
        << "as Windows reads it";
    EXPECT_TRUE(header.image.isNull());

    const PictureRead preview = ReadPicture(path, QSize(617, 453));
    ASSERT_TRUE(preview.result.ok());
    EXPECT_EQ(preview.uprightSize, QSize(3000, 4000));
    EXPECT_LE(preview.image.width(), 617);
    EXPECT_LE(preview.image.height(), 453);
    EXPECT_GT(preview.image.height(), preview.image.width()) << "turned upright";

    const PictureRead small = ReadPicture(path, QSize(8000, 8000));
    EXPECT_EQ(small.image.size(), QSize(3000, 4000)) << "never enlarged";
}

// The header of an uncompressed RGB TIFF of w x h whose pixels are missing.
std::string TiffHeader(const test::TestFolder& dir, std::uint32_t w, std::uint32_t h) {
    const auto entry = [](int tag, int type, std::uint32_t value) {
        return Bytes(static_cast<std::uint32_t>(tag), 2) + Bytes(static_cast<std::uint32_t>(type), 2) +
               Bytes(1, 4) + (type == 3 ? Bytes(value, 2) + Bytes(0, 2) : Bytes(value, 4));
    };
    const std::string entries = entry(256, 4, w) + entry(257, 4, h) + entry(258, 3, 8) + entry(259, 3, 1) +
                                entry(262, 3, 2) + entry(273, 4, 200) + entry(277, 3, 3) + entry(278, 4, h) +
                                entry(279, 4, w * h * 3);
    return dir.write("panorama.tif",
                     "II*" + std::string(1, '\0') + Bytes(8, 4) + Bytes(9, 2) + entries + Bytes(0, 4));
}

// Only content that is no picture at all is "not a picture"; a picture that cannot be decoded is
// another failure, and its size still comes from its header.
TEST(PictureReader, FailureKinds) {
    test::TestFolder dir;
    QImage photo(64, 48, QImage::Format_RGB32);
    photo.fill(Qt::darkGreen);
    ASSERT_TRUE(photo.save(QString::fromStdString(dir.path() + "/whole.jpg")));
    const std::string jpeg = test::TestFolder::slurp(dir.path() + "/whole.jpg");
    struct Case {
        const char* what;
        std::string path;
        Failure failure;
        QSize header;
    };
    const std::vector<Case> cases = {
        {"missing", dir.path() + "/missing.jpg", Failure::NotFound, {}},
        {"in a missing folder", dir.path() + "/unplugged/a.jpg", Failure::Other, {}},
        {"under a file", dir.path() + "/whole.jpg/a.jpg", Failure::Other, {}},
        {"text", dir.write("text.jpg", "not a picture"), Failure::NotAPicture, {}},
        {"empty", dir.write("empty.jpg", ""), Failure::NotAPicture, {}},
        {"a folder", dir.path(), Failure::Other, {}},
        {"huge bitmap", dir.writeBmp("huge.bmp", 17000, 17000), Failure::Other, {17000, 17000}},
        {"large TIFF", TiffHeader(dir, 17000, 16500), Failure::Other, {17000, 16500}},
        {"JPEG cut short", dir.write("cut.jpg", jpeg.substr(0, 20)), Failure::Other, {}},
    };
    for (const auto& k : cases) {
        const OpResult preview = ReadPicture(k.path, QSize(617, 453)).result;
        EXPECT_EQ(preview.failure, k.failure) << k.what;
        if (k.header.isValid()) {
            EXPECT_EQ(preview.reason.rfind("it is too large to decode (", 0), 0U) << preview.reason;
            const PictureRead header = ReadPicture(k.path, QSize());
            EXPECT_TRUE(header.result.ok()) << k.what;
            EXPECT_EQ(header.uprightSize, k.header) << k.what;
        }
    }
}

} // namespace
} // namespace zelvano

int main(int argc, char* argv[]) {
    zelvano::test::PrivateMounts(); // while there is one thread: Qt starts others
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
