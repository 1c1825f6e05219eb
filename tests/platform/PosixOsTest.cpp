#include "platform/posix/PosixOs.h"

#include "platform/ScopeExit.h"
#include "support/PlainDriveMount.h"
#include "support/PrivateMounts.h"
#include "support/TestFolder.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <gtest/gtest.h>
#include <iterator>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zelvano {
namespace {

using test::TestFolder;

// Makes every write past `bytes` fail with EFBIG for as long as it lives; works as root too.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        ::getrlimit(RLIMIT_FSIZE, &old_);
        oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = old_;
        limit.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &old_);
        std::signal(SIGXFSZ, oldHandler_);
    }

private:
    rlimit old_{};
    void (*oldHandler_)(int) = nullptr;
};

std::size_t EntriesIn(const std::string& folder) {
    return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(folder), {}));
}

// A list that is rewritten keeps its permissions, and a failed rewrite leaves it whole.
TEST(PosixOs, ReplacingAListNeverLosesIt) {
    TestFolder dir;
    PosixOs os;
    const std::string path = dir.write("Zelvanojpg.log", "/a/\r\nold.jpg\r\n");
    ::chmod(path.c_str(), 0640);
    ASSERT_TRUE(os.replaceFile(path, "new").ok());
    struct stat st {};
    ::stat(path.c_str(), &st);
    EXPECT_EQ(st.st_mode & 0777, 0640U);
    EXPECT_EQ(dir.read("Zelvanojpg.log"), "new");
    dir.write("Zelvanojpg.log", "/a/\r\nold.jpg\r\n");
    {
        const FileSizeLimit limit(1024);
        const OpResult r = os.replaceFile(path, std::string(100000, 'x'));
        EXPECT_FALSE(r.ok());
        EXPECT_FALSE(r.reason.empty());
    }
    EXPECT_EQ(dir.read("Zelvanojpg.log"), "/a/\r\nold.jpg\r\n");
    EXPECT_EQ(EntriesIn(dir.path()), 1U) << "no half-written file is left beside it";
    std::string start = "from before";
    ASSERT_TRUE(os.readFileStart(path, 3, start).ok());
    EXPECT_EQ(start, "/a/");
    ASSERT_TRUE(os.readFileEnd(dir.write("empty.log", ""), 2, start).ok()) << "an empty list has an end";
    EXPECT_EQ(start, "");
}

// Whatever stops an append part way, the list holds its old records or all of the new one.
TEST(PosixOs, AnAppendIsWholeOrAbsentWhereverTheWriteFails) {
    TestFolder dir;
    PosixOs os;
    const std::string old = "/a/\r\nold.jpg\r\n";
    const std::string record = "/tmp/\r\nnew.jpg\r\n";
    const std::string path = dir.write("Zelvanojpg.log", old);
    for (std::size_t bytes = 0; bytes < old.size() + record.size(); ++bytes) {
        const FileSizeLimit limit(bytes);
        EXPECT_FALSE(os.appendToFile(path, record).ok()) << "failing at byte " << bytes;
        ASSERT_EQ(TestFolder::slurp(path), old) << "failing at byte " << bytes;
    }
    EXPECT_EQ(EntriesIn(dir.path()), 1U) << "no half-written file is left beside it";
    ASSERT_TRUE(os.appendToFile(path, record).ok());
    EXPECT_EQ(TestFolder::slurp(path), old + record);
    ASSERT_TRUE(os.appendToFile(dir.path() + "/Zelvanogif.log", record).ok()) << "a missing list is made";
    EXPECT_EQ(dir.read("Zelvanogif.log"), record);
}

// Lists kept on another disk and linked in stay linked: the file the link leads to is rewritten.
TEST(PosixOs, AListThatIsALinkStaysALink) {
    TestFolder dir;
    PosixOs os;
    const std::string target = dir.write("elsewhere/Zelvanojpg.log", "/a/\r\nold.jpg\r\n");
    const std::string link = dir.path() + "/Zelvanojpg.log";
    std::filesystem::create_symlink("elsewhere/Zelvanojpg.log", link);
    ASSERT_TRUE(os.appendToFile(link, "/b/\r\nnew.jpg\r\n").ok());
    ASSERT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(TestFolder::slurp(target), "/a/\r\nold.jpg\r\n/b/\r\nnew.jpg\r\n");
    ASSERT_TRUE(os.replaceFile(link, "rewritten").ok());
    ASSERT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(TestFolder::slurp(target), "rewritten");
}

TEST(PosixOs, ReadingAPipeInTheListsPlaceDoesNotHang) {
    TestFolder dir;
    PosixOs os;
    const std::string path = dir.path() + "/Zelvanojpg.log";
    ASSERT_EQ(::mkfifo(path.c_str(), 0644), 0);
    std::string content;
    EXPECT_EQ(os.readFile(path, content).failure, Failure::Other);
}

TEST(PosixOs, RenameWithoutReplaceNeverTouchesAnExistingFile) {
    TestFolder dir;
    PosixOs os;
    const std::string a = dir.write("a.jpg", "a");
    const std::string b = dir.write("b.jpg", "b");
    EXPECT_FALSE(os.renameFile(a, b, false).ok());
    EXPECT_EQ(dir.read("a.jpg"), "a");
    EXPECT_EQ(dir.read("b.jpg"), "b");
    EXPECT_TRUE(os.renameFile(a, b, true).ok());
    EXPECT_EQ(dir.read("b.jpg"), "a");
}

TEST(PosixOs, AFailedCopyLeavesTheDestinationAsItWas) {
    TestFolder dir;
    PosixOs os;
    const std::string big = dir.write("big.jpg", std::string(100000, 'x'));
    const std::string old = dir.write("old.jpg", "old");
    {
        const FileSizeLimit limit(1024);
        EXPECT_FALSE(os.copyFile(big, old, true).ok());
    }
    EXPECT_EQ(dir.read("old.jpg"), "old");
    EXPECT_EQ(EntriesIn(dir.path()), 2U);
    EXPECT_FALSE(os.copyFile(big, old, false).ok()) << "without replace an existing file stays";
    EXPECT_EQ(dir.read("old.jpg"), "old");
    EXPECT_TRUE(os.copyFile(big, old, true).ok());
    EXPECT_EQ(dir.read("old.jpg").size(), 100000U);
}

// A drive that renames but has neither rename flags nor hard links, as many FUSE, SMB and NFS drives
// are: a rename or copy that must not replace works there, replaces nothing, and is never taken for
// write protection; and a missing file is told from a missing folder, which may be a drive away.
TEST(PosixOs, RenameAndCopyOnADriveWithoutLinksOrRenameFlags) {
    TestFolder dir;
    dir.write("drive/folder/x", "");
    const test::PlainDriveMount drive(dir.path() + "/drive");
    if (!drive.ok()) {
        GTEST_SKIP() << drive.why();
    }
    PosixOs os;
    const std::string on = dir.path() + "/drive/";
    for (const bool copy : {false, true}) {
        SCOPED_TRACE(copy ? "copy" : "rename");
        const auto run = [&](const std::string& from, const std::string& to, bool replace) {
            return copy ? os.copyFile(on + from, on + to, replace)
                        : os.renameFile(on + from, on + to, replace);
        };
        dir.write("drive/a.jpg", "a");
        dir.write("drive/b.jpg", "b");
        const OpResult refused = run("a.jpg", "b.jpg", false);
        EXPECT_EQ(refused.failure, Failure::Other) << refused.reason;
        EXPECT_EQ(dir.read("drive/b.jpg"), "b");
        ASSERT_TRUE(run("a.jpg", "c.jpg", false).ok());
        EXPECT_EQ(dir.read("drive/c.jpg"), "a");
        EXPECT_EQ(dir.exists("drive/a.jpg"), copy);
        EXPECT_TRUE(run("c.jpg", "b.jpg", true).ok());
        EXPECT_EQ(dir.read("drive/b.jpg"), "a");
        EXPECT_EQ(run("gone.jpg", "d.jpg", false).failure, Failure::NotFound);
        EXPECT_EQ(run("b.jpg", "gone/d.jpg", false).failure, Failure::Other);
        EXPECT_EQ(EntriesIn(on), copy ? 4U : 2U) << "no placeholder or copy is left behind";
        std::filesystem::remove(on + "c.jpg");
    }
    // A rename that fails once its placeholder holds the name gives the name back.
    EXPECT_FALSE(os.renameFile(on + "folder", on + "c.jpg", false).ok());
    EXPECT_FALSE(dir.exists("drive/c.jpg"));
}

// A drive that renames but loses its reply: the failure is told, and the picture that now holds
// the new name is not taken for the placeholder and removed.
TEST(PosixOs, ARenameWhoseReplyIsLostKeepsThePicture) {
    TestFolder dir;
    dir.write("drive/a.jpg", "a");
    const test::PlainDriveMount drive(dir.path() + "/drive", {"--lost-replies"});
    if (!drive.ok()) {
        GTEST_SKIP() << drive.why();
    }
    PosixOs os;
    EXPECT_FALSE(os.renameFile(dir.path() + "/drive/a.jpg", dir.path() + "/drive/b.jpg", false).ok());
    EXPECT_EQ(dir.read("drive/b.jpg"), "a");
}

TEST(PosixOs, TheRootFolderIsListed) {
    struct Names : FolderVisitor {
        std::vector<std::string> seen;
        bool enter(const FolderId& /*id*/) override { return true; }
        void entry(std::string_view name, EntryType /*type*/) override { seen.emplace_back(name); }
    } names;
    ASSERT_TRUE(PosixOs().listFolder("/", names).ok());
    EXPECT_NE(std::find(names.seen.begin(), names.seen.end(), "tmp"), names.seen.end());
}

// Beside the program when its folder can be written, as always; else with the user's data, made
// when missing and used as it is when there.
TEST(PosixOs, WhereTheListFilesLive) {
    struct ProgramIn : PosixOs {
        std::string folder;
        std::string executableFolder() override { return folder; }
    };
    TestFolder dir;
    ProgramIn beside;
    beside.folder = dir.path();
    EXPECT_EQ(beside.listFileFolder(), dir.path());

    // Installed under a prefix: its folder may be writable (by root), and is not the user's all
    // the same. A bin folder without the program's desktop entry beside it is a folder of the user's.
    ProgramIn ownBin;
    ownBin.folder = dir.path() + "/bin";
    std::filesystem::create_directory(ownBin.folder);
    EXPECT_EQ(ownBin.listFileFolder(), ownBin.folder);
    dir.write("share/applications/org.zelvano.Zelvano.desktop", "");
    const std::string data = dir.path() + "/home/.local/share/zelvano";
    const std::string home = std::getenv("HOME") != nullptr ? std::getenv("HOME") : "";
    ::setenv("HOME", (dir.path() + "/home").c_str(), 1);
    ::unsetenv("XDG_DATA_HOME");
    for (const bool existing : {false, true}) {
        ProgramIn program;
        program.folder = dir.path() + "/bin";
        EXPECT_EQ(program.listFileFolder(), data) << existing;
        EXPECT_TRUE(std::filesystem::is_directory(data)) << existing;
        if (!existing) {
            EXPECT_EQ(std::filesystem::status(data).permissions(), std::filesystem::perms::owner_all);
            dir.write("home/.local/share/zelvano/Zelvanojpg.log", "kept");
        }
    }
    // A folder the user cannot write: as root, who may write anything else, it is mounted read-only
    // over itself, in a mount namespace of the test's own.
    ProgramIn locked;
    locked.folder = dir.path() + "/locked";
    std::filesystem::create_directory(locked.folder);
    const bool root = ::geteuid() == 0;
    const std::string bind =
        "mount --bind " + locked.folder + " " + locked.folder + " && mount -o remount,bind,ro ";
    if (root ? test::PrivateMounts() && std::system((bind + locked.folder + " " + locked.folder).c_str()) == 0
             : ::chmod(locked.folder.c_str(), 0555) == 0) {
        EXPECT_EQ(locked.listFileFolder(), data) << "a folder the user cannot write";
        root ? (void)std::system(("umount " + locked.folder).c_str())
             : (void)::chmod(locked.folder.c_str(), 0755);
    }
    ::setenv("HOME", home.c_str(), 1);
    EXPECT_EQ(dir.read("home/.local/share/zelvano/Zelvanojpg.log"), "kept");
    EXPECT_EQ(DataFolder("/x/data", "/home/a"), "/x/data/zelvano");
    EXPECT_EQ(DataFolder("relative", "/home/a"), "/home/a/.local/share/zelvano") << "not an absolute path";
    EXPECT_EQ(DataFolder(nullptr, nullptr), "");
}

// An unplugged stick that fstab mounts leaves its empty folder behind: what is not found there may
// be on the stick, and is not taken for gone while the stick is away. Here /etc/fstab declares a
// folder of the test's own, in a mount namespace of the test's own.
TEST(PosixOs, AFileOnAnUnpluggedDriveIsNotKnownToBeGone) {
    if (!test::PrivateMounts()) {
        GTEST_SKIP() << "mounting needs root and a mount namespace of the test's own";
    }
    const TestFolder dir;
    const std::string stick = dir.path() + "/Photo Stick";
    const std::string left = dir.write("Photo Stick/left.jpg", ""); // in the folder, beneath the stick
    std::string declared = stick;
    declared.replace(declared.rfind(' '), 1, "\\040");
    const std::string fstab = dir.write("fstab", TestFolder::slurp("/etc/fstab") + "\nLABEL=STICK " +
                                                     declared + " vfat noauto 0 0\n");
    if (::mount(fstab.c_str(), "/etc/fstab", nullptr, MS_BIND, nullptr) != 0) {
        GTEST_SKIP() << "no /etc/fstab to mount over: " << std::strerror(errno);
    }
    const ScopeExit unmount([&stick] {
        ::umount2(stick.c_str(), MNT_DETACH); // so that the test's folder can go
        ::umount2("/etc/fstab", MNT_DETACH);
    });
    PosixOs os;
    EXPECT_EQ(os.fileExists(left), Presence::Present);
    EXPECT_EQ(os.fileExists(stick + "/a.jpg"), Presence::Unknown);
    EXPECT_EQ(os.fileExists(stick + "/2020/a.jpg"), Presence::Unknown);
    EXPECT_EQ(os.fileExists(dir.path() + "/a.jpg"), Presence::Missing);
    std::string content;
    EXPECT_EQ(os.readFile(stick + "/a.jpg", content).failure, Failure::Other)
        << "a read is not told it is gone";
    ASSERT_EQ(::mount("tmpfs", stick.c_str(), "tmpfs", 0, "size=1m"), 0) << std::strerror(errno);
    EXPECT_EQ(os.fileExists(stick + "/a.jpg"), Presence::Missing) << "the stick is back";
    EXPECT_EQ(os.readFile(stick + "/a.jpg", content).failure, Failure::NotFound);
}

} // namespace
} // namespace zelvano
