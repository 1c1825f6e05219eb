#include "platform/qt/MainWindow.h"

#include "platform/qt/OffThread.h"
#include "platform/qt/PictureReader.h"
#include "support/PlainDriveMount.h"
#include "support/PrivateMounts.h"
#include "support/TestFolder.h"

#include <QApplication>
#include <QByteArray>
#include <QDataStream>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>

#include <array>
#include <chrono>
#include <filesystem>
#include <gtest/gtest.h>
#include <sstream>
#include <stdexcept>
#include <thread>
#include <tuple>

namespace zelvano {
namespace {

using namespace std::string_literals;

// The designed layout, in twips (option buttons relative to their frame), and the captions.
// clang-format off
const std::vector<std::tuple<const char*, QString, QRect>> kLayout = {
    {"List1", {}, {60, 480, 2100, 5910}}, {"Command1", "Scan disk/disks", {360, 6960, 1395, 375}},
    {"Command2", "Previous 30", {60, 6480, 1035, 375}}, {"Command3", "Next 30", {1080, 6480, 1095, 375}},
    {"Command4", "Rename", {8340, 6960, 795, 375}}, {"Command5", "Delete", {9180, 6960, 735, 375}},
    {"Label1", "Picture names", {240, 60, 1755, 315}}, {"Command6", "Copy", {9960, 6960, 735, 375}},
    {"Command8", "Exit", {10740, 6960, 735, 375}}, {"Frame1", "Picture format", {4440, 6900, 2955, 435}},
    {"Option1", "jpg", {60, 180, 555, 195}}, {"Option2", "jpeg", {600, 180, 675, 195}},
    {"Option3", "bmp", {1260, 180, 615, 195}}, {"Label2", "", {2100, 7020, 2235, 255}},
    {"Picture3", "", {6000, 6360, 1695, 315}}, {"Picture1", "", {2400, 120, 1215, 495}},
    {"Preview1", "", {2220, 60, 9255, 6795}}, {"Command7", "Print", {7500, 6960, 795, 375}},
    {"Option4", "gif", {1920, 180, 615, 195}}, {"Option5", "tif", {2460, 180, 435, 195}},
};
// clang-format on

TEST(MainWindow, ControlsAsDesignedGivenBackAfterAFailedWaitAndPrintingToAPdfFile) {
    MainWindow window;
    window.show();
    const Controls& c = window.controls();
    for (const auto& [name, caption, twips] : kLayout) {
        auto* w = window.findChild<QWidget*>(QString::fromLatin1(name));
        ASSERT_NE(w, nullptr) << name;
        EXPECT_EQ(w->geometry(), QRect(twips.topLeft() / 15, twips.size() / 15)) << name;
        EXPECT_EQ(w->property(qobject_cast<QGroupBox*>(w) != nullptr ? "title" : "text").toString(), caption)
            << name;
    }
    EXPECT_EQ(window.centralWidget()->size(), QSize(770, 492));
    EXPECT_EQ(window.statusBar()->height(), 19);
    // The size panel is 110 wide, and the path panel about 645: it takes what the size panel leaves,
    // so that a photo's long size text shows whole.
    EXPECT_EQ(c.Panel2->width(), 110);
    EXPECT_NEAR(c.Panel1->width(), 645, 10);
    window.setPanelText(Panel::Two, "Size: 60060 x 45060");
    QApplication::processEvents();
    EXPECT_GE(c.Panel2->contentsRect().width(), c.Panel2->fontMetrics().horizontalAdvance(c.Panel2->text()));
    EXPECT_LE(c.Panel2->geometry().right(), window.statusBar()->width());
    // The longest counter caption and the wait window's texts fit on one line, in the fonts they got.
    window.setCounterCaption("500001 jpeg Pictures/ 500001");
    window.showWait();
    window.setWaitProgress("Waiting for /media/photographer/Holiday pictures 2019-2023/ to answer - "
                           "123456 pictures found, 1234567 folders searched");
    auto* vent = window.findChild<QWidget*>("Vent");
    for (QLabel* label :
         {c.Label2, vent->findChild<QLabel*>("Label1"), vent->findChild<QLabel*>("Progress")}) {
        EXPECT_LE(label->fontMetrics().horizontalAdvance(label->text()), label->contentsRect().width())
            << label->text().toStdString();
    }
    window.closeWait();
    EXPECT_FALSE(c.Command1->isEnabled());
    EXPECT_TRUE(c.Picture1->isHidden());
    EXPECT_EQ(window.checkedOption(), -1);
    EXPECT_TRUE(window.windowTitle().startsWith("Zelvano - Version 1.0 -"));
    QStringList menus; // the menus and their items, odd spelling and all
    for (QAction* menu : window.menuBar()->actions()) {
        menus << menu->text() << menu->menu()->actions().constFirst()->text();
    }
    EXPECT_EQ(menus, (QStringList{"&File", "Exit", "&Abut Brimlet", "Look fore Brimlet update"}));

    // The "Picture format" box is drawn around its five buttons, not through them: with the buttons
    // hidden, nothing of the box (line or caption) shows across their rows, and a line runs above
    // and below them. Each button's mark and caption end before the next button begins.
    for (std::size_t i = 0; i < c.Option.size(); ++i) {
        const int end = i + 1 < c.Option.size() ? c.Option[i + 1]->x() : c.Frame1->width() - 1;
        EXPECT_LE(c.Option[i]->x() + c.Option[i]->sizeHint().width(), end) << "Option" << i + 1;
        c.Option[i]->hide();
    }
    const QImage box = c.Frame1->grab().toImage();
    const int background = qGray(c.Frame1->palette().color(QPalette::Window).rgb());
    const QRect buttons = c.Option[0]->geometry();
    bool lineAbove = false, lineBelow = false;
    for (int y = 0; y < box.height(); ++y) {
        int drawn = 0, inside = 0; // in the row, and in it between the box's sides
        for (int x = 0; x < box.width(); ++x) {
            const int ink = qAbs(qGray(box.pixel(x, y)) - background) > 15 ? 1 : 0;
            drawn += ink;
            inside += x >= 2 && x < box.width() - 2 ? ink : 0;
        }
        EXPECT_TRUE(inside == 0 || y < buttons.top() || y > buttons.bottom())
            << "row " << y << " crosses the buttons";
        lineAbove = lineAbove || (drawn > box.width() / 2 && y < buttons.top());
        lineBelow = lineBelow || (drawn > box.width() / 2 && y > buttons.bottom());
    }
    EXPECT_TRUE(lineAbove && lineBelow) << "a line above: " << lineAbove << ", below: " << lineBelow;

    // Work that fails during a scan's wait gives the controls back as they were.
    window.setEnabled(Button::Command1, true);
    window.setEnabled(Button::Command7, false);
    EXPECT_THROW(window.runWhilePainting([] { throw std::runtime_error("lost"); }, {}, Wait::Scan()),
                 std::runtime_error);
    EXPECT_TRUE(c.Command1->isEnabled());
    EXPECT_TRUE(c.List1->isEnabled());
    EXPECT_FALSE(c.Command7->isEnabled());

    // A picture printed, one page each time, to a PDF file.
    test::TestFolder dir;
    ASSERT_TRUE(window.loadPictureBox(dir.writeBmp("wide.bmp", 3000, 2000)).ok());
    const std::string pdf = dir.path() + "/printed.pdf";
    window.printer().setOutputFileName(QString::fromStdString(pdf)); // by its name, a PDF file
    for (const bool landscape : {false, true}) {
        ASSERT_TRUE(window.printPicture(landscape, 150.0F, 100.0F).ok());
        const std::string text = test::TestFolder::slurp(pdf);
        const std::size_t count = text.find("/Count "), mediaBox = text.find("/MediaBox [");
        ASSERT_TRUE(count != std::string::npos && mediaBox != std::string::npos);
        int pages = 0;
        double x0 = 0, y0 = 0, x1 = 0, y1 = 0;
        std::istringstream(text.substr(count + 7, 20)) >> pages; // in the page tree
        std::istringstream(text.substr(mediaBox + 11, 80)) >> x0 >> y0 >> x1 >> y1;
        EXPECT_EQ(pages, 1);
        EXPECT_EQ(x1 - x0 > y1 - y0, landscape) << "wider than tall";
    }
    const PrintArea area = window.printableArea();
    EXPECT_LT(area.width, area.height) << "measured in portrait";
}

// A picture from a far drive is waited for while the drive keeps delivering, however long that takes;
// one whose drive stops delivering part way is given up once the drive has said nothing for the
// patience, and shown as such.
TEST(PictureReader, AFarDriveIsWaitedForAndASilentOneGivenUp) {
    test::TestFolder dir;
    const std::string picture = dir.writeBmp("drive/far.bmp", 400, 300);
    const auto size = std::filesystem::file_size(picture);
    const std::chrono::milliseconds patience(300);
    MainWindow window;
    const std::string drive = dir.path() + "/drive/";
    {
        // Three times the patience to deliver it all.
        const test::PlainDriveMount far(dir.path() + "/drive", {"--slow", std::to_string(size * 1000 / 900)});
        if (!far.ok()) {
            GTEST_SKIP() << far.why();
        }
        const PictureRead read = ReadPictureOffThread(window, drive, picture, QSize(200, 150), patience);
        EXPECT_TRUE(read.result.ok()) << read.result.reason;
        EXPECT_EQ(read.uprightSize, QSize(400, 300));
    }
    const test::PlainDriveMount stalled(dir.path() + "/drive", {"--stall-after", std::to_string(size / 2)});
    ASSERT_TRUE(stalled.ok()) << stalled.why();
    const auto start = std::chrono::steady_clock::now();
    const PictureRead read = ReadPictureOffThread(window, drive, picture, QSize(200, 150), patience);
    EXPECT_LT(std::chrono::steady_clock::now() - start, patience * 4);
    EXPECT_EQ(read.result.reason, "the drive " + drive + " did not answer");
    stalled.goOn(); // the read left behind ends
    for (int i = 0; i < 500 && WorkUnderWay(); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

// A camera's photo, stored 4000 x 3000 with its Exif block saying it lies on its side, is read at
// its upright size and decoded upright at the preview's size. Only content that is no picture at all
// is "not a picture"; a picture that cannot be decoded is another failure, and its size still comes
// from its header.
TEST(PictureReader, SizesUprightPreviewsAndFailureKinds) {
    test::TestFolder dir;
    QImage photo(4000, 3000, QImage::Format_RGB32);
    photo.fill(Qt::darkGreen);
    ASSERT_TRUE(photo.save(QString::fromStdString(dir.path() + "/photo.jpg")));
    const std::string jpeg = dir.read("photo.jpg");
    // After the start of the image: an Exif block whose big-endian directory has one entry,
    // orientation (274) 6.
    const std::string exif = "\xFF\xE1\0\x22"
                             "Exif\0\0MM\0*\0\0\0\x08\0\x01\x01\x12\0\x03\0\0\0\x01\0\x06\0\0\0\0\0\0"s;
    const std::string path = dir.write("photo.jpg", std::string(jpeg).insert(2, exif));

    const PictureRead header = ReadPicture(path, QSize());
    ASSERT_TRUE(header.result.ok()) << header.result.reason;
    EXPECT_EQ(header.uprightSize, QSize(3000, 4000));
    EXPECT_TRUE(header.image.isNull());
    const PictureRead preview = ReadPicture(path, QSize(617, 453));
    ASSERT_TRUE(preview.result.ok());
    EXPECT_EQ(preview.uprightSize, QSize(3000, 4000));
    EXPECT_TRUE(QRect(0, 0, 617, 453).contains(preview.image.rect())) << "fits the preview";
    EXPECT_GT(preview.image.height(), preview.image.width()) << "turned upright";
    EXPECT_EQ(ReadPicture(path, QSize(8000, 8000)).image.size(), QSize(3000, 4000)) << "never enlarged";

    // An uncompressed RGB TIFF of 17000 x 16500 whose pixels are missing: its directory's entries are
    // a tag, its type (3 short, 4 long), a count of one and the value, all little-endian; a short
    // value takes the first two of the value's four bytes.
    QByteArray tiff;
    QDataStream out(&tiff, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    out << quint32(0x002A4949) << quint32(8) << quint16(9); // "II*", the directory at 8, nine entries
    const std::vector<std::array<quint32, 3>> entries = {
        {256, 4, 17000}, {257, 4, 16500}, {258, 3, 8},
        {259, 3, 1},     {262, 3, 2},     {273, 4, 200},
        {277, 3, 3},     {278, 4, 16500}, {279, 4, 17000U * 16500 * 3}};
    for (const auto& [tag, type, value] : entries) {
        out << quint16(tag) << quint16(type) << quint32(1) << quint32(value);
    }
    out << quint32(0);
    const std::vector<std::tuple<const char*, std::string, Failure, QSize>> cases = {
        {"missing", dir.path() + "/missing.jpg", Failure::NotFound, {}},
        {"in a missing folder", dir.path() + "/unplugged/a.jpg", Failure::Other, {}},
        {"under a file", path + "/a.jpg", Failure::Other, {}},
        {"text", dir.write("text.jpg", "not a picture"), Failure::NotAPicture, {}},
        {"empty", dir.write("empty.jpg", ""), Failure::NotAPicture, {}},
        {"a folder", dir.path(), Failure::Other, {}},
        {"huge bitmap", dir.writeBmp("huge.bmp", 17000, 17000), Failure::Other, {17000, 17000}},
        {"large TIFF", dir.write("panorama.tif", tiff.toStdString()), Failure::Other, {17000, 16500}},
        {"JPEG cut short", dir.write("cut.jpg", jpeg.substr(0, 20)), Failure::Other, {}},
    };
    for (const auto& [what, file, failure, size] : cases) {
        const OpResult result = ReadPicture(file, QSize(617, 453)).result;
        EXPECT_EQ(result.failure, failure) << what;
        if (size.isValid()) {
            EXPECT_EQ(result.reason.rfind("it is too large to decode (", 0), 0U) << result.reason;
            EXPECT_EQ(ReadPicture(file, QSize()).uprightSize, size) << what << ": read, from its header";
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
