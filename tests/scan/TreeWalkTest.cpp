#include "picturelist/ListFile.h"
#include "scan/FindFiles.h"
#include "scan/NamePattern.h"
#include "support/PrivateMounts.h"
#include "support/Records.h"
#include "support/TestFolder.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>

namespace zelvano::test {
namespace {

namespace fs = std::filesystem;

// The order rule written plainly, one folder at a time: a folder's matching regular files in
// listing order, then its subfolders (not links) depth first in listing order.
void Expected(const std::string& folder, const std::string& ext, Records& out) {
    std::vector<std::string> subfolders;
    for (const auto& e : fs::directory_iterator(folder)) {
        const std::string name = e.path().filename().string();
        if (name.find('\r') != std::string::npos) {
            continue;
        }
        if (e.is_directory() && !e.is_symlink()) {
            subfolders.push_back(name);
            continue;
        }
        std::string lower = name;
        for (char& ch : lower) {
            ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
        }
        if (lower.size() >= ext.size() && lower.compare(lower.size() - ext.size(), ext.size(), ext) == 0 &&
            e.is_regular_file()) {
            out.emplace_back(folder, name);
        }
    }
    for (const auto& sub : subfolders) {
        Expected(folder + sub + kSep, ext, out);
    }
}

Records Scan(Os& os, const std::string& root, unsigned threads, const std::string& type = "jpg") {
    PicTable table;
    ScanProgress progress;
    SearchJob job{os, table, progress, threads};
    std::string path = root;
    std::int32_t files = 0;
    std::int16_t folders = 0;
    FindFilesAPI(job, path, "*." + type, files, folders);
    EXPECT_EQ(static_cast<std::size_t>(files), table.count());
    return Rows(table);
}

class TreeWalk : public ::testing::Test {
protected:
    TestFolder dir;
    TestOs os{dir.path()};
    std::string root() const { return dir.folder(); }
};

TEST_F(TreeWalk, OrderRuleOnOneAndTwoThreads) {
    for (int i = 0; i < 6; ++i) {
        dir.write("top" + std::to_string(i) + ".jpg", "");
    }
    dir.write("CASE.JPG", "");
    dir.write("Mixed.Jpg", "");
    dir.write(".hidden.jpg", "");
    dir.write("..h/.h/z.jpg", ""); // names that only begin like "." and ".."
    dir.write("no.jpeg", "");
    dir.write("no.jpg.bak", "");
    dir.write("album.jpg/inside.jpg", ""); // a folder named like a picture is searched, not recorded
    for (int a = 0; a < 5; ++a) {
        for (int b = 0; b < 4; ++b) {
            const std::string sub = "f" + std::to_string(a) + "/g" + std::to_string(b) + "/";
            dir.write(sub + "x" + std::to_string(b) + ".jpg", "");
            dir.write(sub + "d/y.JPG", "");
            dir.write(sub + "notes.txt", "");
        }
        dir.write("f" + std::to_string(a) + "/own.jpg", "");
    }
    Records expected;
    Expected(root(), ".jpg", expected);
    ASSERT_EQ(expected.size(), 6 + 4 + 1 + 5 * 4 * 2 + 5U);
    EXPECT_EQ(Scan(os, root(), 1), expected);
    for (int run = 0; run < 5; ++run) {
        EXPECT_EQ(Scan(os, root(), 2), expected) << "run " << run;
    }
    EXPECT_EQ(Scan(os, dir.path(), 2), expected) << "a path without its separator gets one";
}

TEST_F(TreeWalk, FoldersThatCannotBeListedAddNothing) {
    dir.write("a/1.jpg", "");
    dir.write("b/2.jpg", "");
    dir.write("b/inner/3.jpg", "");
    dir.write("c/4.jpg", "");
    os.failFolders = {dir.folder("b")}; // unreadable, or vanished since its parent was listed
    Records found = Scan(os, root(), 2);
    std::sort(found.begin(), found.end());
    EXPECT_EQ(found, (Records{{dir.folder("a"), "1.jpg"}, {dir.folder("c"), "4.jpg"}}));
}

#if !defined(_WIN32) // links, and names with a carriage return, are POSIX matters
TEST_F(TreeWalk, LinksLeadToFilesButNeverIntoFolders) {
    dir.write("real/a.jpg", "");
    fs::create_directory_symlink(dir.path() + "/real", dir.path() + "/linked");
    fs::create_directory_symlink(dir.path(), dir.path() + "/real/loop");
    fs::create_symlink(dir.path() + "/real/a.jpg", dir.path() + "/shortcut.jpg");
    fs::create_symlink(dir.path() + "/gone.jpg", dir.path() + "/dangling.jpg");
    fs::create_symlink("/etc/hostname", dir.path() + "/elsewhere.jpg"); // left to its own drive's search
    EXPECT_EQ(Scan(os, root(), 2), (Records{{root(), "shortcut.jpg"}, {root() + "real/", "a.jpg"}}));
}

// One folder reached twice on one drive, by a bind mount: recorded where a one-thread walk meets it
// first, every time, however the listings fall.
TEST_F(TreeWalk, AFolderReachedTwiceIsRecordedWhereAOneThreadWalkMeetsItFirst) {
    if (::geteuid() != 0 || !PrivateMounts()) {
        GTEST_SKIP() << "a bind mount needs root and a mount namespace of the test's own";
    }
    // The folder listed first holds the mount deep down, where a one-thread walk still meets it
    // before the folder it shows; several listings at once list that folder far sooner.
    fs::create_directories(dir.path() + "/p");
    fs::create_directories(dir.path() + "/q");
    const std::string first = fs::directory_iterator(dir.path())->path().filename().string();
    const std::string second = first == "p" ? "q" : "p";
    for (int i = 0; i < 30; ++i) {
        dir.write(second + "/y" + std::to_string(i) + "/q.jpg", "");
    }
    dir.write(second + "/pics/one.jpg", "");
    const std::string mount = dir.path() + "/" + first + "/d1/d2/d3/zz";
    fs::create_directories(mount);
    ASSERT_EQ(std::system(("mount --bind " + dir.path() + "/" + second + " " + mount).c_str()), 0);
    const Records once = Scan(os, root(), 1);
    EXPECT_EQ(std::count(once.begin(), once.end(), Records::value_type(mount + "/pics/", "one.jpg")), 1);
    EXPECT_EQ(std::count_if(once.begin(), once.end(), [](const auto& r) { return r.second == "one.jpg"; }),
              1);
    for (int run = 0; run < 5; ++run) {
        EXPECT_EQ(Scan(os, root(), kListingsInFlight), once) << "run " << run;
    }
    (void)std::system(("umount " + mount).c_str()); // so that the test's folder can go
}

TEST_F(TreeWalk, NamesWithACarriageReturnAreSkipped) {
    dir.write("ok.jpg", "");
    dir.write("bad\r.jpg", "");
    dir.write("bad\rfolder/x.jpg", "");
    dir.write("line\nfeed.jpg", "");
    Records found = Scan(os, root(), 1);
    std::sort(found.begin(), found.end());
    EXPECT_EQ(found, (Records{{root(), "line\nfeed.jpg"}, {root(), "ok.jpg"}}));
}
#endif

TEST(NamePattern, Matching) {
    struct Case {
        const char* pattern;
        const char* name;
        bool matches;
    };
    const std::vector<Case> cases = {
        {"*.jpg", "IMG_0001.JPG", true},
        {"*.jpg", ".jpg", true},
        {"*.jpg", "a.jpeg", false},
        {"*.jpg", "jpg", false},
        {"*.tif", "a.tiff", false},
        {"*.gif", "x.GiF", true},
        {"a?c*.b", "abcdef.B", true},
        {"a?c*.b", "ac.b", false},
        {"*x*", "aaxbb", true},
        {"*z", "QUIZ", true},
        {"*.j*g", "photo.jpeg", true},
        {"*.j*g", "photo.jpe", false},
        {"?", "", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(NamePattern(c.pattern).matches(c.name), c.matches) << c.pattern << " / " << c.name;
    }
}

} // namespace
} // namespace zelvano::test
