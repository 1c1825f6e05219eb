#include "platform/FileFailure.h"

#include <gtest/gtest.h>

namespace zelvano {
namespace {

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
