#include "platform/PictureSignature.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace zelvano {
namespace {

using namespace std::string_literals;

// A bitmap file header and the start of an info header of `infoSize` bytes.
std::string Bitmap(char infoSize, const std::string& size) {
    return "BM"s + std::string(12, '\0') + infoSize + std::string(3, '\0') + size;
}

TEST(PictureSignature, WhatStartsLikeAPicture) {
    const std::vector<std::pair<std::string, bool>> heads = {
        {"\xFF\xD8\xFF\xE1rest", true},
        {"\x89PNG\r\n\x1A\n", true},
        {"GIF89a", true},
        {"II*\0"s, true},
        {"MM\0*"s, true},
        {"RIFF\x10\0\0\0WEBP"s, true},
        {"\0\0\0\x18"
         "ftypheic"s,
         true},
        {"\0\0\0\x18"
         "ftypisom"s,
         false}, // a film
        {"RIFF\x10\0\0\0WAVEfmt "s, false},
        {Bitmap(40, ""), true},
        {"BMW notes, page one of two", false},
        {Bitmap(41, ""), false},
        {"BM", false},
        {"just text", false},
        {"", false},
    };
    for (const auto& [head, picture] : heads) {
        EXPECT_EQ(LooksLikePicture(head), picture) << '"' << head << '"';
    }
}

TEST(PictureSignature, SizesFromHeaders) {
    const std::string le17000 = "\x68\x42\0\0"s;
    EXPECT_EQ(HeaderDimensions(Bitmap(40, le17000 + "\x74\x40\0\0"s)), (PictureDimensions{17000, 16500}));
    EXPECT_EQ(HeaderDimensions(Bitmap(40, le17000 + "\x8C\xBF\xFF\xFF"s)), (PictureDimensions{17000, 16500}))
        << "rows top down";
    EXPECT_EQ(HeaderDimensions(Bitmap(12, "\x40\x01\xF0\x00"s + std::string(4, '\0'))),
              (PictureDimensions{320, 240}))
        << "the old 16-bit header";
    EXPECT_EQ(HeaderDimensions("\x89PNG\r\n\x1A\n\0\0\0\x0DIHDR\0\0\x0A\0\0\0\x07\x80"s),
              (PictureDimensions{2560, 1920}));
    EXPECT_EQ(HeaderDimensions("GIF87a\x40\x01\xF0\x00"s), (PictureDimensions{320, 240}));
    EXPECT_EQ(HeaderDimensions("\xFF\xD8\xFF\xE0"s), std::nullopt);
    EXPECT_EQ(HeaderDimensions(Bitmap(40, "\x68\x42")), std::nullopt) << "cut short";
}

} // namespace
} // namespace zelvano
