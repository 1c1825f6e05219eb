#include "platform/FileFailure.h"
#include "platform/win32/DriveStrings.h"

#include <gtest/gtest.h>

namespace zelvano {
namespace {

TEST(DriveStrings, EachDriveTakesTheNextRow) {
    char buffer[255] = {};
    const char drives[] = "a:\\\0C:\\\0d:\\\0"; // as the system fills it; the rest stays NUL
    std::copy(std::begin(drives), std::end(drives), buffer);
    EXPECT_EQ(DrivesFromLogicalStrings(buffer, sizeof buffer, 12),
              (std::vector<std::string>{"A:\\", "C:\\", "D:\\"}));
    EXPECT_TRUE(DrivesFromLogicalStrings(buffer, sizeof buffer, 0).empty()) << "a failed call lists nothing";
    buffer[20] = '\x01'; // a piece that starts before "A" is passed over
    EXPECT_EQ(DrivesFromLogicalStrings(buffer, sizeof buffer, 12).size(), 3U);

    // The drive a path is on, as a wait names it.
    EXPECT_EQ(DriveOfWindowsPath("c:\\a\\x.jpg"), "C:\\");
    EXPECT_EQ(DriveOfWindowsPath("\\\\nas\\photos\\2020\\x.jpg"), "\\\\nas\\photos\\");
    EXPECT_EQ(DriveOfWindowsPath("\\\\nas\\photos"), "\\\\nas\\photos\\");
    EXPECT_EQ(DriveOfWindowsPath("x.jpg"), "x.jpg\\");
}

// The folder that tells a missing file from a missing drive; a root keeps its separator.
TEST(FileFailure, TheFolderOfAPath) {
    EXPECT_EQ(FolderPart("/x.jpg", '/'), "/");
    EXPECT_EQ(FolderPart("/a/x.jpg", '/'), "/a");
    EXPECT_EQ(FolderPart("C:\\x.jpg", '\\'), "C:\\");
    EXPECT_EQ(FolderPart("C:\\a\\x.jpg", '\\'), "C:\\a");
    EXPECT_EQ(FolderPart("x.jpg", '/'), "");
}

} // namespace
} // namespace zelvano
