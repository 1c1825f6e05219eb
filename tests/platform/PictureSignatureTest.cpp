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
    // clang-format off
    const std::vector<std::pair<std::string, bool>> heads = {
        {"\xFF\xD8\xFF\xE1rest", true}, {"\x89PNG\r\n\x1A\n", true}, {"GIF89a", true}, {"II*\0"s, true},
        {"MM\0*"s, true}, {"RIFF\x10\0\0\0WEBP"s, true}, {"RIFF\x10\0\0\0WAVEfmt "s, false},
        {"\0\0\0\x18" "ftypheic"s, true}, {"\0\0\0\x18" "ftypisom"s, false}, // a film
        {Bitmap(40, ""), true}, {Bitmap(56, ""), true}, {Bitmap(108, ""), true}, // the V3 to V5 headers too
        {Bitmap(41, ""), false}, {"BM", false}, {"BMW notes, page one of two", false},
        {"just text", false}, {"", false},
    };
    // clang-format on
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
    EXPECT_EQ(HeaderDimensions("\xFF\xD8\xFF\xE0"s + std::string(28, '\0')), std::nullopt);
    EXPECT_EQ(HeaderDimensions(Bitmap(40, "\x68\x42")), std::nullopt) << "cut short";
}

// A TIFF structure whose first directory holds an orientation tag, in either byte order.
std::string Tiff(bool little, char orientation) {
    const std::string entry = little ? "\x12\x01\x03\0\x01\0\0\0"s + orientation + "\0\0\0"s
                                     : "\x01\x12\0\x03\0\0\0\x01\0"s + orientation + "\0\0"s;
    return little ? "II*\0\x08\0\0\0\x01\0"s + entry : "MM\0*\0\0\0\x08\0\x01"s + entry;
}

TEST(PictureSignature, ExifOrientation) {
    const std::string jfif = "\xFF\xE0\0\x10JFIF\0\x01\x01\0\0\x01\0\x01\0\0"s;
    const auto app1 = [](const std::string& tiff, const std::string& kind = "Exif\0\0"s) {
        const std::string body = kind + tiff;
        return "\xFF\xE1"s + static_cast<char>((body.size() + 2) >> 8) + static_cast<char>(body.size() + 2) +
               body;
    };
    EXPECT_EQ(ExifOrientation("\xFF\xD8"s + jfif + app1(Tiff(false, 6)) + "\xFF\xDA"s), 6);
    EXPECT_EQ(
        ExifOrientation("\xFF\xD8"s + app1("<x/>", "http://ns.adobe.com/xap/1.0/\0"s) + app1(Tiff(true, 8))),
        8)
        << "after an XMP block";
    EXPECT_EQ(ExifOrientation(Tiff(true, 3)), 3) << "a TIFF file's own directory";
    EXPECT_EQ(ExifOrientation(Tiff(true, 9)), 1) << "no such orientation";
    EXPECT_EQ(ExifOrientation("II*\0\x08\0\0\0\x05\0\x01\x01\x03\0\x01\0\0\0\x02\0\0\0"s), 1)
        << "a directory that claims more entries than it holds";
    EXPECT_EQ(ExifOrientation("\xFF\xD8"s + jfif + "\xFF\xDA"s + app1(Tiff(true, 8))), 1) << "after the data";
    EXPECT_EQ(ExifOrientation("\xFF\xD8"s + app1(Tiff(true, 8)).substr(0, 20)), 1) << "cut short";
    EXPECT_EQ(ExifOrientation("just text"), 1);
}

} // namespace
} // namespace zelvano
