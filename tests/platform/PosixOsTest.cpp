#include "platform/posix/PosixOs.h"

#include "support/TestFolder.h"

#include <cerrno>
#include <csignal>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

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
    std::size_t n = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(folder)) {
        ++n;
    }
    return n;
}

TEST(PosixOs, FailedReplaceLeavesTheOldFileWhole) {
    TestFolder dir;
    PosixOs os;
    const std::string path = dir.write("Zelvanojpg.log", "/a/\r\nold.jpg\r\n");
    {
        const FileSizeLimit limit(1024);
        const OpResult r = os.replaceFile(path, std::string(100000, 'x'));
        EXPECT_FALSE(r.ok());
        EXPECT_FALSE(r.reason.empty());
    }
    EXPECT_EQ(dir.read("Zelvanojpg.log"), "/a/\r\nold.jpg\r\n");
    EXPECT_EQ(EntriesIn(dir.path()), 1U) << "no half-written file is left beside it";
}

TEST(PosixOs, ReplaceKeepsTheFilesPermissions) {
    TestFolder dir;
    PosixOs os;
    const std::string path = dir.write("list.log", "old");
    ::chmod(path.c_str(), 0640);
    ASSERT_TRUE(os.replaceFile(path, "new").ok());
    struct stat st {};
    ::stat(path.c_str(), &st);
    EXPECT_EQ(st.st_mode & 0777, 0640U);
    EXPECT_EQ(dir.read("list.log"), "new");
    EXPECT_EQ(EntriesIn(dir.path()), 1U);
}

TEST(PosixOs, ExistenceTestFindsFilesNotFolders) {
    TestFolder dir;
    PosixOs os;
    const std::string file = dir.write("a.jpg", "x");
    std::filesystem::create_directory(dir.path() + "/folder.jpg");
    std::filesystem::create_symlink(file, dir.path() + "/link.jpg");
    EXPECT_TRUE(os.fileExists(file));
    EXPECT_TRUE(os.fileExists(dir.path() + "/link.jpg"));
    EXPECT_FALSE(os.fileExists(dir.path() + "/folder.jpg"));
    EXPECT_FALSE(os.fileExists(dir.path() + "/missing.jpg"));
}

TEST(PosixOs, ReadingAPipeInTheListsPlaceDoesNotHang) {
    TestFolder dir;
    PosixOs os;
    const std::string path = dir.path() + "/Zelvanojpg.log";
    ASSERT_EQ(::mkfifo(path.c_str(), 0644), 0);
    std::string content;
    EXPECT_EQ(os.readFile(path, content).failure, Failure::Other);
}

} // namespace
} // namespace zelvano

namespace zelvano {
namespace {

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

} // namespace
} // namespace zelvano
