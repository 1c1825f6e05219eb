#pragma once

#include "picturelist/Entries.h"
#include "picturelist/ListSteps.h"
#include "platform/DriveWait.h"
#include "platform/OffThreadOs.h"
#include "state/Context.h"
#include "support/FakeWindow.h"
#include "support/TestFolder.h"
#include "viewing/Selection.h"

#include <gtest/gtest.h>

namespace zelvano::test {

// A program with its executable in a temporary folder and a scripted window, whose handlers reach
// the system as the program's do, off the window's thread.
class AppFixture : public ::testing::Test {
protected:
    TestFolder dir;
    TestOs os{dir.path()};
    FakeWindow win;
    OffThreadOs offThread{os, win, std::chrono::milliseconds(300)};
    Context c{AppState{}, offThread, win, &List1_Click};

    // Writes the list file of `type` beside the executable.
    std::string writeList(const std::string& type, const std::string& text) {
        return dir.write("Zelvano" + type + ".log", text);
    }
    // Chooses `type` with `text` as its list file, as a click on its option button does.
    void load(const std::string& type, const std::string& text) {
        writeList(type, text);
        c.state.PicType = type;
        win.listClear();
        HentListe(c);
    }
    // A list of `count` bitmaps that exist, named p0.bmp, p1.bmp, ... in folder "pics/".
    std::string picturesList(int count, const std::string& type = "jpg") {
        std::vector<std::pair<std::string, std::string>> records;
        for (int i = 0; i < count; ++i) {
            const std::string name = "p" + std::to_string(i) + "." + type;
            dir.writeBmp("pics/" + name, 10 + i, 20 + i);
            records.emplace_back(dir.folder("pics"), name);
        }
        return ListText(records);
    }
};

} // namespace zelvano::test
