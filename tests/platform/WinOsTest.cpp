#include "platform/win32/WinOs.h"

#include "platform/win32/CodePage.h"
#include "scan/FindFiles.h"
#include "support/TestFolder.h"

#include <windows.h>

#include <fstream>
#include <gtest/gtest.h>
#include <set>

namespace zelvano {
namespace {

// Hidden and system files count as missing, read-only ones do not, and a folder is no file. A rename
// never replaces a file unless asked, a copy over a read-only one is refused, and archive alone
// clears read-only and hidden. A rewrite leaves the new content in the file's place and nothing
// beside it. A file is missing only when its folder is there.
//
// A scan never enters a link to a folder, here one back to its parent where the system lets us make
// one. The system lists a letter the code page lacks as a look-alike (a C with a circumflex as C),
// and that name opens another file or none: only a file's own name is recorded. The program opens
// paths without the long-path prefix, so a file whose full path reaches MAX_PATH could never be
// shown, renamed or copied: it is not recorded.
TEST(WinOs, FilesAsTheProgramSeesThemAndWhatTheScanRecords) {
    test::TestFolder dir;
    WinOs os;
    const std::string a = dir.write("a.jpg", "a");
    const std::string b = dir.write("b.jpg", "b");
    EXPECT_EQ(os.fileExists(dir.path()), Presence::Missing);
    EXPECT_FALSE(os.renameFile(a, b, false).ok());
    for (const DWORD attribute :
         {FILE_ATTRIBUTE_ARCHIVE, FILE_ATTRIBUTE_HIDDEN, FILE_ATTRIBUTE_SYSTEM, FILE_ATTRIBUTE_READONLY}) {
        ASSERT_TRUE(::SetFileAttributesA(b.c_str(), attribute));
        EXPECT_EQ(os.fileExists(b) == Presence::Present,
                  (attribute & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) == 0)
            << attribute;
    }
    EXPECT_EQ(os.copyFile(a, b, true).failure, Failure::AccessError);
    EXPECT_EQ(dir.read("b.jpg"), "b") << "neither the rename nor the copy replaced it";
    ASSERT_TRUE(::SetFileAttributesA(b.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN));
    ASSERT_TRUE(os.setArchiveOnly(b).ok());
    EXPECT_EQ(::GetFileAttributesA(b.c_str()), DWORD{FILE_ATTRIBUTE_ARCHIVE});
    EXPECT_TRUE(os.copyFile(a, b, true).ok());
    EXPECT_EQ(dir.read("b.jpg"), "a");
    EXPECT_TRUE(os.replaceFile(b, std::string_view("new")).ok());
    EXPECT_EQ(dir.read("b.jpg"), "new");
    EXPECT_FALSE(dir.exists("b.jpg.zelvano-new"));

    std::string content;
    EXPECT_EQ(os.readFile(dir.path() + "\\gone.jpg", content).failure, Failure::NotFound);
    EXPECT_EQ(os.deleteFile(dir.path() + "\\gone.jpg").failure, Failure::NotFound);
    EXPECT_EQ(os.readFile(dir.path() + "\\gone\\a.jpg", content).failure, Failure::Other);
    char drive = 'Z'; // a drive letter that names no drive
    while (drive > 'D' && (::GetLogicalDrives() & (1U << (drive - 'A'))) != 0) {
        --drive;
    }
    EXPECT_EQ(os.readFile(std::string(1, drive) + ":\\pics\\a.jpg", content).failure, Failure::Other);

    using enum EntryType;
    EXPECT_EQ(EntryTypeFromAttributes(FILE_ATTRIBUTE_DIRECTORY), Folder);
    EXPECT_EQ(EntryTypeFromAttributes(FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT), Other);
    EXPECT_EQ(EntryTypeFromAttributes(FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_REPARSE_POINT), Link);
    EXPECT_EQ(EntryTypeFromAttributes(FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_HIDDEN), File);
    std::string top = dir.folder(); // where the scan starts
    const std::string deep = dir.folder(std::string(231 - dir.path().size(), 'f'));
    ASSERT_EQ(deep.size(), 233U);
    const std::wstring root = WideFromCodePage(top).value();
    const std::wstring wideDeep = L"\\\\?\\" + WideFromCodePage(deep).value();
    const std::wstring tooLong = wideDeep + std::wstring(30, L'n') + L".jpg";
    ASSERT_TRUE(::CreateDirectoryW(wideDeep.c_str(), nullptr));
    std::vector<std::wstring> files = {tooLong, wideDeep + L"short1.jpg"};
    std::multiset<std::string> recorded = {top + "a.jpg", top + "b.jpg", deep + "short1.jpg"};
    if (::GetACP() == 1252) { // whose look-alikes these are
        ASSERT_TRUE(::CreateDirectoryW((root + L"\u015Cnow").c_str(), nullptr));
        for (const wchar_t* name : {L"\u0108at.jpg", L"Cat.jpg", L"\u015Ckier.jpg", L"Skier.jpg",
                                    L"\u015Cnow\\in.jpg", L"caf\u00E9.jpg"}) {
            files.push_back(root + name);
        }
        recorded.insert({top + "Cat.jpg", top + "Skier.jpg", top + "caf\xE9.jpg"});
    }
    for (const std::wstring& file : files) {
        EXPECT_TRUE(std::ofstream(file.c_str()).is_open());
    }
    const bool linked =
        ::CreateSymbolicLinkA((top + "loop").c_str(), dir.path().c_str(), SYMBOLIC_LINK_FLAG_DIRECTORY);
    PicTable found;
    ScanProgress progress;
    SearchJob job{os, found, progress, 2};
    std::int32_t fileCount = 0;
    std::int16_t folderCount = 0;
    FindFilesAPI(job, top, "*.jpg", fileCount, folderCount);
    std::multiset<std::string> paths;
    for (std::size_t row = 0; row < found.count(); ++row) {
        paths.emplace(std::string(found.folder(row)).append(found.name(row)));
    }
    EXPECT_EQ(paths, recorded) << (linked ? "with a link back to the folder" : "no folder links here");
    ::DeleteFileW(tooLong.c_str()); // beyond what the folder's clean-up can reach
}

} // namespace
} // namespace zelvano
