#include "platform/qt/Controls.h"

#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QMainWindow>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>

namespace zelvano {

namespace {

// Places and sizes in twips, as the window was designed.
struct Place {
    int left, top, width, height;
};

template <typename W> W* Make(QWidget* parent, const char* name, Place p, const QString& caption = {}) {
    auto* w = new W(parent);
    w->setObjectName(QString::fromLatin1(name));
    w->setGeometry(p.left / kLayoutTwipsPerPixel, p.top / kLayoutTwipsPerPixel,
                   p.width / kLayoutTwipsPerPixel, p.height / kLayoutTwipsPerPixel);
    if constexpr (!std::is_same_v<W, QListWidget>) {
        if (!caption.isEmpty()) {
            if constexpr (std::is_same_v<W, QGroupBox>) {
                w->setTitle(caption);
            } else {
                w->setText(caption);
            }
        }
    }
    return w;
}

QLabel* MakePanel(const char* name, int widthTwips) {
    auto* panel = new QLabel;
    panel->setObjectName(QString::fromLatin1(name));
    // At least the designed width; the size panel widens when a font needs more room for its text.
    panel->setMinimumWidth(widthTwips / kLayoutTwipsPerPixel);
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    return panel;
}

void BuildStatusBar(QMainWindow& window, Controls& c) {
    auto* bar = new QStatusBar(&window);
    bar->setObjectName(QStringLiteral("StatusBar1"));
    bar->setFixedHeight(285 / kLayoutTwipsPerPixel);
    bar->setSizeGripEnabled(false);
    c.Panel1 = MakePanel("Panel1", 9675);
    c.Panel2 = MakePanel("Panel2", 1650);
    // The path panel takes the room the size panel leaves, so that a long size text shows whole.
    c.Panel1->setMinimumWidth(0);
    c.Panel1->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    bar->addPermanentWidget(c.Panel1, 1);
    bar->addPermanentWidget(c.Panel2);
    window.setStatusBar(bar);
}

// Below this a text is no longer read at a glance; it is clipped instead.
constexpr qreal kSmallestPoints = 6;

} // namespace

void FitOnOneLine(QLabel& label, QFont font) {
    const QRect room = label.contentsRect();
    const auto fits = [&] {
        const QFontMetrics measured(font, &label); // at the label's own screen's resolution
        return measured.horizontalAdvance(label.text()) <= room.width() && measured.height() <= room.height();
    };
    while (font.pointSizeF() > kSmallestPoints && !fits()) {
        font.setPointSizeF(font.pointSizeF() - 0.5);
    }
    label.setFont(font);
}

Controls BuildControls(QMainWindow& window) {
    auto* area = new QWidget(&window);
    area->setObjectName(QStringLiteral("ClientArea"));
    area->setFixedSize(11550 / kLayoutTwipsPerPixel, 7380 / kLayoutTwipsPerPixel);
    window.setCentralWidget(area);

    Controls c;
    c.List1 = Make<QListWidget>(area, "List1", {60, 480, 2100, 5910});
    c.List1->setSelectionMode(QAbstractItemView::SingleSelection);
    c.Command1 =
        Make<QPushButton>(area, "Command1", {360, 6960, 1395, 375}, QStringLiteral("Scan disk/disks"));
    c.Command1->setEnabled(false);
    c.Command2 = Make<QPushButton>(area, "Command2", {60, 6480, 1035, 375}, QStringLiteral("Previous 30"));
    c.Command3 = Make<QPushButton>(area, "Command3", {1080, 6480, 1095, 375}, QStringLiteral("Next 30"));
    c.Command4 = Make<QPushButton>(area, "Command4", {8340, 6960, 795, 375}, QStringLiteral("Rename"));
    c.Command5 = Make<QPushButton>(area, "Command5", {9180, 6960, 735, 375}, QStringLiteral("Delete"));
    c.Label1 = Make<QLabel>(area, "Label1", {240, 60, 1755, 315}, QStringLiteral("Picture names"));
    c.Command6 = Make<QPushButton>(area, "Command6", {9960, 6960, 735, 375}, QStringLiteral("Copy"));
    c.Command8 = Make<QPushButton>(area, "Command8", {10740, 6960, 735, 375}, QStringLiteral("Exit"));
    c.Frame1 = Make<QGroupBox>(area, "Frame1", {4440, 6900, 2955, 435}, QStringLiteral("Picture format"));
    // The frame is 29 pixels high with its buttons 12 pixels down: the caption sits on the top
    // line, so that the box's lines pass above and below the buttons, not through them. The
    // designed buttons are narrow: the mark stays close to its caption.
    c.Frame1->setStyleSheet(QStringLiteral(
        "QGroupBox#Frame1 { border: 1px solid palette(mid); border-radius: 2px; margin-top: 6px; }"
        "QGroupBox#Frame1::title { subcontrol-origin: margin; subcontrol-position: top left;"
        " left: 6px; padding: 0px 2px; }"
        "QRadioButton { spacing: 1px; }"));
    c.Option[0] = Make<QRadioButton>(c.Frame1, "Option1", {60, 180, 555, 195}, QStringLiteral("jpg"));
    c.Option[1] = Make<QRadioButton>(c.Frame1, "Option2", {600, 180, 675, 195}, QStringLiteral("jpeg"));
    c.Option[2] = Make<QRadioButton>(c.Frame1, "Option3", {1260, 180, 615, 195}, QStringLiteral("bmp"));
    c.Label2 = Make<QLabel>(area, "Label2", {2100, 7020, 2235, 255});
    c.Picture1 = Make<QLabel>(area, "Picture1", {2400, 120, 1215, 495});
    c.Picture1->hide(); // measures pictures; never shown
    c.Preview1 = Make<QLabel>(area, "Preview1", {2220, 60, 9255, 6795});
    c.Preview1->setAlignment(Qt::AlignCenter);
    c.Preview1->setAccessibleName(QStringLiteral("Preview"));
    c.Picture3 = Make<QLabel>(area, "Picture3", {6000, 6360, 1695, 315});
    c.Picture3->setAutoFillBackground(true);
    c.Picture3->setPalette(QPalette(QColor(238, 238, 238)));
    c.Picture3->raise(); // covers the lower edge of the preview
    c.Command7 = Make<QPushButton>(area, "Command7", {7500, 6960, 795, 375}, QStringLiteral("Print"));
    c.Option[3] = Make<QRadioButton>(c.Frame1, "Option4", {1920, 180, 615, 195}, QStringLiteral("gif"));
    c.Option[4] = Make<QRadioButton>(c.Frame1, "Option5", {2460, 180, 435, 195}, QStringLiteral("tif"));
    BuildStatusBar(window, c);

    const std::array<QWidget*, 14> tabOrder = {c.List1,     c.Command1, c.Command2,  c.Command3,  c.Command4,
                                               c.Command5,  c.Command6, c.Command8,  c.Option[0], c.Option[1],
                                               c.Option[2], c.Command7, c.Option[3], c.Option[4]};
    for (std::size_t i = 1; i < tabOrder.size(); ++i) {
        QWidget::setTabOrder(tabOrder[i - 1], tabOrder[i]);
    }
    return c;
}

} // namespace zelvano
