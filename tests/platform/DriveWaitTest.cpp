#include "fileops/Rename.h"
#include "picturelist/Delete.h"
#include "support/AppFixture.h"

#include <chrono>
#include <filesystem>

namespace zelvano::test {
namespace {

using std::chrono::milliseconds;

class SilentDrive : public AppFixture {
protected:
    SilentDrive() { os.drives = {pics}; }
    ~SilentDrive() override {
        gate.open(); // the drive answers again, and what it held ends
        win.finishLeftBehind();
    }
    const std::string pics = dir.folder("pics");
    Gate gate;
};

// An operation whose drive stops answering is given up after its patience with a message that names
// the drive, and changes nothing. While the drive holds what was left behind it is not asked again;
// once it answers, it is asked as before.
TEST_F(SilentDrive, AnOperationIsGivenUpAndItsDriveIsNotAskedAgainUntilItAnswers) {
    load("jpg", picturesList(3));
    const std::string list = dir.read("Zelvanojpg.log");
    os.gate = &gate;
    os.silent = {pics};
    win.answers = {true};
    const auto pressed = std::chrono::steady_clock::now();
    Command5_Click(c);
    EXPECT_LT(std::chrono::steady_clock::now() - pressed, milliseconds(1500));
    const std::string noAnswer = "the drive " + pics + " did not answer.";
    EXPECT_EQ(win.messages(), std::vector<std::string>{"The file p0.jpg could not be deleted: " + noAnswer});
    EXPECT_EQ(win.waits.back().drive, pics);
    EXPECT_EQ(dir.read("Zelvanojpg.log"), list);
    EXPECT_EQ(c.state.PicCount(), 3);

    const std::size_t waits = win.waits.size();
    win.typed = {"renamed"};
    Command4_Click(c);
    EXPECT_EQ(win.waits.size(), waits) << "not asked again";
    EXPECT_EQ(win.messages().back(), "The picture p0.jpg could not be renamed: " + noAnswer);

    gate.open();
    win.finishLeftBehind();
    win.answers = {true};
    Command5_Click(c);
    EXPECT_FALSE(dir.exists("pics/p0.jpg"));
    EXPECT_EQ(c.state.PicCount(), 2);
}

// A list whose drive does not answer is neither taken for a list never written nor written late: a
// rewrite given up never writes what the table holds by the time the drive answers.
TEST_F(SilentDrive, AListOnASilentDriveIsNeitherTakenForMissingNorWrittenLate) {
    const std::string text = picturesList(3);
    load("jpg", text);
    const std::string path = dir.path() + kSep + "Zelvanojpg.log";
    os.gate = &gate;
    os.silent = {path};
    win.answers = {true};
    Command5_Click(c); // the picture goes; the list's rewrite is given up
    EXPECT_FALSE(dir.exists("pics/p0.jpg"));
    EXPECT_EQ(win.messages(), std::vector<std::string>{ListNotWritten(path, NoAnswer(os.driveOf(path)))});
    c.state.PicList.erase(0); // the table changes meanwhile
    gate.open();
    win.finishLeftBehind();
    EXPECT_EQ(dir.read("Zelvanojpg.log"), text);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 2) << "the list and pics/";

    Gate again;
    os.gate = &again;
    win.listClear();
    HentListe(c);
    EXPECT_EQ(win.messages().back(), ListNotRead(path, NoAnswer(os.driveOf(path))));
    EXPECT_EQ(c.state.PicCount(), 0);
}

} // namespace
} // namespace zelvano::test
