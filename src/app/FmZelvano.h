#pragma once

#include "platform/OffThreadOs.h"
#include "state/Context.h"

namespace zelvano {

// The main window's handlers, by the names of the controls and events that run them. The window
// layer calls these for the user's actions; the program's own changes never come back as events.
class FmZelvano {
public:
    FmZelvano(Os& os, Window& win);

    void Form_Load();
    void Command1_Click(); // Scan disk/disks
    void Command2_Click(); // Previous 30
    void Command3_Click(); // Next 30
    void Command4_Click(); // Rename
    void Command5_Click(); // Delete
    void Command6_Click(); // Copy
    void Command7_Click(); // Print
    void Command8_Click(); // Exit
    void OptionClick(int option);
    void List1_Click();
    void List1_KeyDown(int keyCode, int shift);
    void meExit_Click();
    void meUpdate_Click();

    [[nodiscard]] Context& context() { return c_; }

private:
    OffThreadOs os_; // how the handlers reach the system: never waiting on a drive themselves
    Context c_;
};

} // namespace zelvano
