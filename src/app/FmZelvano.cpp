#include "app/FmZelvano.h"

#include "app/ProductInfo.h"
#include "app/Startup.h"
#include "fileops/Copy.h"
#include "fileops/Rename.h"
#include "picturelist/Delete.h"
#include "picturelist/Paging.h"
#include "printing/Print.h"
#include "scan/DiskScan.h"
#include "viewing/Selection.h"

namespace zelvano {

FmZelvano::FmZelvano(Os& os, Window& win) : os_(os, win), c_{AppState{}, os_, win, &zelvano::List1_Click} {}

void FmZelvano::Form_Load() {
    zelvano::Form_Load(c_);
}
void FmZelvano::Command1_Click() {
    zelvano::Command1_Click(c_);
}
void FmZelvano::Command2_Click() {
    zelvano::Command2_Click(c_);
}
void FmZelvano::Command3_Click() {
    zelvano::Command3_Click(c_);
}
void FmZelvano::Command4_Click() {
    zelvano::Command4_Click(c_);
}
void FmZelvano::Command5_Click() {
    zelvano::Command5_Click(c_);
}
void FmZelvano::Command6_Click() {
    zelvano::Command6_Click(c_);
}
void FmZelvano::Command7_Click() {
    zelvano::Command7_Click(c_);
}
void FmZelvano::Command8_Click() {
    c_.win.quit();
}
void FmZelvano::OptionClick(int option) {
    zelvano::OptionClick(c_, option);
}
void FmZelvano::List1_Click() {
    zelvano::List1_Click(c_);
}
void FmZelvano::List1_KeyDown(int keyCode, int shift) {
    zelvano::List1_KeyDown(c_, keyCode, shift);
}
void FmZelvano::meExit_Click() {
    c_.win.quit();
}
void FmZelvano::meUpdate_Click() {
    c_.os.openWebPage(std::string(kUpdatePageAddress));
}

} // namespace zelvano
