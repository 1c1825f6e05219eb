#pragma once

#include <array>

class QFont;
class QGroupBox;
class QLabel;
class QListWidget;
class QMainWindow;
class QPushButton;
class QRadioButton;
class QWidget;

namespace zelvano {

// The main window's controls, by the names the handlers know them by.
struct Controls {
    QListWidget* List1 = nullptr;
    QPushButton* Command1 = nullptr; // Scan disk/disks
    QPushButton* Command2 = nullptr; // Previous 30
    QPushButton* Command3 = nullptr; // Next 30
    QPushButton* Command4 = nullptr; // Rename
    QPushButton* Command5 = nullptr; // Delete
    QPushButton* Command6 = nullptr; // Copy
    QPushButton* Command7 = nullptr; // Print
    QPushButton* Command8 = nullptr; // Exit
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr; // counter caption
    QGroupBox* Frame1 = nullptr;
    std::array<QRadioButton*, 5> Option{}; // Option1..Option5
    QLabel* Picture3 = nullptr;            // grey cover over the preview's lower edge
    QLabel* Picture1 = nullptr;            // hidden picture box
    QLabel* Preview1 = nullptr;
    QLabel* Panel1 = nullptr; // status bar panels
    QLabel* Panel2 = nullptr;
};

// Twips per layout pixel: the layout is drawn at 96 dots per inch.
inline constexpr int kLayoutTwipsPerPixel = 15;

// Creates the controls on `window` at their places, with their captions and tab order.
Controls BuildControls(QMainWindow& window);

// Gives `label` `font`, made smaller where its text would not show whole on one line at its fixed
// size: the layout is in pixels, the fonts the system gives are not.
void FitOnOneLine(QLabel& label, QFont font);

} // namespace zelvano
