#include "platform/win32/WinOs.h"

#include "scan/FindFiles.h"
#include "support/TestFolder.h"

#include <windows.h>

#include <gtest/gtest.h>

namespace zelvano {
namespace {

using test::TestFolder;

TEST(WinOs, HiddenAndSystemFilesCountAsMissing) {
    TestFolder dir;
    WinOs os;
    const std::string list = dir.write("Zelvanojpg.log", "");
    EXPECT_TRUE(os.fileExists(list));
    for (const DWORD attribute : {FILE_ATTRIBUTE_HIDDEN, FILE_ATTRIBUTE_SYSTEM}) {
        ASSERT_TRUE(::SetFileAttributesA(list.c_str(), attribute));
        EXPECT_FALSE(os.fileExists(list)) << attribute;
    }
    ASSERT_TRUE(::SetFileAttributesA(list.c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_TRUE(os.fileExists(list)) << "read-only files are ordinary";
    EXPECT_FALSE(os.fileExists(dir.path())) << "a folder is no file";
}

TEST(WinOs, ArchiveAloneClearsReadOnlyHiddenAndSystem) {
    TestFolder dir;
    WinOs os;
    const std::string file = dir.write("a.jpg", "x");
    ASSERT_TRUE(::SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN));
    ASSERT_TRUE(os.setArchiveOnly(file).ok());
    EXPECT_EQ(::GetFileAttributesA(file.c_str()), DWORD{FILE_ATTRIBUTE_ARCHIVE});
}

TEST(WinOs, ReparsePointsToFoldersAreNeverEntered) {
    EXPECT_EQ(EntryTypeFromAttributes(FILE_ATTRIBUTE_DIRECTORY), EntryType::Folder);
    EXPECT_EQ(EntryTypeFromAttributes(FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT),
              EntryType::Other);
    EXPECT_EQ(EntryTypeFromAttributes(FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_REPARSE_POINT),
              EntryType::Link);
    EXPECT_EQ(EntryTypeFromAttributes(FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_HIDDEN), EntryType::File);

    // A link from a folder back to its parent, where the system lets us make one.
    TestFolder dir;
    WinOs os;
    dir.write("a\\x.jpg", "");
    const std::string loop = dir.folder("a") + "loop";
    if (!::CreateSymbolicLinkA(loop.c_str(), dir.path().c_str(), SYMBOLIC_LINK_FLAG_DIRECTORY)) {
        GTEST_SKIP() << "no folder links here";
    }
    PicTable found;
    ScanProgress progress;
    SearchJob job{os, found, progress, 2};
    std::string path = dir.path();
    std::int32_t files = 0;
    std::int16_t folders = 0;
    FindFilesAPI(job, path, "*.jpg", files, folders);
    EXPECT_EQ(found.count(), 1U);
}

TEST(WinOs, RenameNeverReplacesUnlessAskedAndCopyRespectsReadOnly) {
    TestFolder dir;
    WinOs os;
    const std::string a = dir.write("a.jpg", "a");
    const std::string b = dir.write("b.jpg", "b");
    EXPECT_FALSE(os.renameFile(a, b, false).ok());
    EXPECT_EQ(dir.read("b.jpg"), "b");
    ASSERT_TRUE(::SetFileAttributesA(b.c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_EQ(os.copyFile(a, b, true).failure, Failure::AccessError);
    EXPECT_EQ(dir.read("b.jpg"), "b");
    ASSERT_TRUE(os.setArchiveOnly(b).ok());
    EXPECT_TRUE(os.copyFile(a, b, true).ok());
    EXPECT_EQ(dir.read("b.jpg"), "a");
}

} // namespace
} // namespace zelvano
