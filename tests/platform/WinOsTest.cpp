#include "platform/win32/WinOs.h"

#include "platform/win32/CodePage.h"
#include "scan/FindFiles.h"
#include "support/TestFolder.h"

#include <windows.h>

#include <gtest/gtest.h>
#include <set>

namespace zelvano {
namespace {

using test::TestFolder;

// The names a scan of `folder` for *.jpg records, each checked to be in `folder` itself.
std::multiset<std::string> ScanNames(const std::string& folder) {
    WinOs os;
    PicTable found;
    ScanProgress progress;
    SearchJob job{os, found, progress, 2};
    std::string path = folder;
    std::int32_t files = 0;
    std::int16_t folders = 0;
    FindFilesAPI(job, path, "*.jpg", files, folders);
    std::multiset<std::string> names;
    for (std::size_t row = 0; row < found.count(); ++row) {
        EXPECT_EQ(found.folder(row), folder);
        names.emplace(found.name(row));
    }
    return names;
}

// An empty file by its UTF-16 path.
void MakeFile(const std::wstring& path) {
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE) << ::GetLastError();
    ::CloseHandle(file);
}

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
    ::SetFileAttributesA(list.c_str(), FILE_ATTRIBUTE_NORMAL); // so that the folder can go
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
    dir.write("x.jpg", "");
    const std::string loop = dir.folder() + "loop";
    if (!::CreateSymbolicLinkA(loop.c_str(), dir.path().c_str(), SYMBOLIC_LINK_FLAG_DIRECTORY)) {
        GTEST_SKIP() << "no folder links here";
    }
    EXPECT_EQ(ScanNames(dir.folder()), std::multiset<std::string>{"x.jpg"});
}

// The system lists a letter the code page lacks as a look-alike (a C with a circumflex as C), and
// that name opens another file or none: only a file's own name is recorded.
TEST(WinOs, TheScanRecordsOnlyNamesTheCodePageHoldsExactly) {
    if (::GetACP() != 1252) {
        GTEST_SKIP() << "the names are chosen for code page 1252";
    }
    TestFolder dir;
    const std::wstring root = WideFromCodePage(dir.folder()).value();
    ASSERT_TRUE(::CreateDirectoryW((root + L"\u015Cnow").c_str(), nullptr));
    for (const wchar_t* name : {L"\u0108at.jpg", L"Cat.jpg", L"\u015Ckier.jpg", L"Skier.jpg",
                                L"\u015Cnow\\in.jpg", L"caf\u00E9.jpg"}) {
        MakeFile(root + name);
    }
    EXPECT_EQ(ScanNames(dir.folder()), (std::multiset<std::string>{"Cat.jpg", "Skier.jpg", "caf\xE9.jpg"}));
}

// The program opens paths without the long-path prefix, so a file whose full path reaches
// MAX_PATH could never be shown, renamed or copied: it is not recorded.
TEST(WinOs, TheScanSkipsFilesWhosePathIsTooLongToOpen) {
    TestFolder dir;
    const std::string folder = dir.folder(std::string(231 - dir.path().size(), 'f'));
    ASSERT_EQ(folder.size(), 233U);
    const std::wstring wide = L"\\\\?\\" + WideFromCodePage(folder).value();
    const std::wstring tooLong = wide + std::wstring(30, L'n') + L".jpg";
    ASSERT_TRUE(::CreateDirectoryW(wide.c_str(), nullptr));
    MakeFile(tooLong);
    MakeFile(wide + L"short1.jpg");
    EXPECT_EQ(ScanNames(folder), std::multiset<std::string>{"short1.jpg"});
    ::DeleteFileW(tooLong.c_str()); // beyond what the folder's clean-up can reach
}

TEST(WinOs, AFileIsMissingOnlyWhenItsFolderIsThere) {
    TestFolder dir;
    WinOs os;
    std::string content;
    EXPECT_EQ(os.readFile(dir.path() + "\\gone.jpg", content).failure, Failure::NotFound);
    EXPECT_EQ(os.deleteFile(dir.path() + "\\gone.jpg").failure, Failure::NotFound);
    EXPECT_EQ(os.readFile(dir.path() + "\\gone\\a.jpg", content).failure, Failure::Other);
    char drive = 'Z'; // a drive letter that names no drive
    while (drive > 'D' && (::GetLogicalDrives() & (1U << (drive - 'A'))) != 0) {
        --drive;
    }
    EXPECT_EQ(os.readFile(std::string(1, drive) + ":\\pics\\a.jpg", content).failure, Failure::Other);
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
