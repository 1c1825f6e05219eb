#include "platform/PictureSignature.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace zelvano {

namespace {

using namespace std::string_view_literals;

constexpr std::string_view kPng = "\x89PNG\r\n\x1A\n"sv;
constexpr std::string_view kGif87 = "GIF87a"sv;
constexpr std::string_view kGif89 = "GIF89a"sv;

// Formats told by their first bytes alone.
constexpr std::array kMagic = {
    "\xFF\xD8\xFF"sv,             // JPEG
    kPng,                         // PNG
    kGif87,                       // GIF
    kGif89,                       // GIF
    "II*\0"sv,                    // TIFF, and the raw formats built on it
    "MM\0*"sv,                    // TIFF
    "II+\0"sv,                    // BigTIFF
    "MM\0+"sv,                    // BigTIFF
    "IIRO"sv,                     // Olympus raw
    "IIRS"sv,                     // Olympus raw
    "MMOR"sv,                     // Olympus raw
    "IIU\0"sv,                    // Panasonic raw
    "FUJIFILMCCD-RAW "sv,         // Fujifilm raw
    "\0\0\0\x0CjP  \r\n\x87\n"sv, // JPEG 2000
    "\xFF\x4F\xFF\x51"sv,         // JPEG 2000 code stream
    "\xFF\x0A"sv,                 // JPEG XL code stream
    "\0\0\0\x0CJXL \r\n\x87\n"sv, // JPEG XL
    "8BPS"sv,                     // Photoshop
};

// ISO media files hold pictures under these brands (HEIF, AVIF, Canon raw).
constexpr std::array kPictureBrands = {"heic"sv, "heix"sv, "hevc"sv, "hevx"sv, "heim"sv, "heis"sv,
                                       "mif1"sv, "msf1"sv, "avif"sv, "avis"sv, "crx "sv};

std::uint32_t LittleEndian(std::string_view bytes) {
    std::uint32_t v = 0;
    for (std::size_t i = bytes.size(); i-- > 0;) {
        v = (v << 8) | static_cast<unsigned char>(bytes[i]);
    }
    return v;
}

std::uint32_t BigEndian(std::string_view bytes) {
    std::uint32_t v = 0;
    for (const char b : bytes) {
        v = (v << 8) | static_cast<unsigned char>(b);
    }
    return v;
}

// "BM" begins many texts; a bitmap's info header that follows has one of a few sizes.
bool IsBitmap(std::string_view head) {
    if (head.size() < 18 || !head.starts_with("BM")) {
        return false;
    }
    const std::uint32_t infoSize = LittleEndian(head.substr(14, 4));
    return infoSize == 12 || infoSize == 16 || infoSize == 40 || infoSize == 52 || infoSize == 56 ||
           infoSize == 64 || infoSize == 108 || infoSize == 124;
}

bool IsWebP(std::string_view head) {
    return head.size() >= 12 && head.starts_with("RIFF") && head.substr(8, 4) == "WEBP";
}

bool IsPictureMedia(std::string_view head) {
    return head.size() >= 12 && head.substr(4, 4) == "ftyp" &&
           std::find(kPictureBrands.begin(), kPictureBrands.end(), head.substr(8, 4)) != kPictureBrands.end();
}

// A bitmap's height is negative when its rows run top down.
std::uint32_t Magnitude(std::uint32_t twosComplement) {
    return (twosComplement & 0x80000000U) != 0 ? ~twosComplement + 1 : twosComplement;
}

} // namespace

std::optional<PictureDimensions> HeaderDimensions(std::string_view head) {
    if (IsBitmap(head) && head.size() >= 26) {
        if (LittleEndian(head.substr(14, 4)) == 12) { // the old core header: 16-bit sizes
            return PictureDimensions{LittleEndian(head.substr(18, 2)), LittleEndian(head.substr(20, 2))};
        }
        return PictureDimensions{LittleEndian(head.substr(18, 4)),
                                 Magnitude(LittleEndian(head.substr(22, 4)))};
    }
    if (head.size() >= 24 && head.starts_with(kPng) && head.substr(12, 4) == "IHDR") {
        return PictureDimensions{BigEndian(head.substr(16, 4)), BigEndian(head.substr(20, 4))};
    }
    if (head.size() >= 10 && (head.starts_with(kGif87) || head.starts_with(kGif89))) {
        return PictureDimensions{LittleEndian(head.substr(6, 2)), LittleEndian(head.substr(8, 2))};
    }
    return std::nullopt;
}

namespace {

// The orientation tag of a TIFF structure (an Exif block is one): its first directory's tag 274.
int TiffOrientation(std::string_view tiff) {
    if (tiff.size() < 8 || (!tiff.starts_with("II*\0"sv) && !tiff.starts_with("MM\0*"sv))) {
        return 1;
    }
    const bool little = tiff[0] == 'I';
    const auto number = [&](std::size_t at, std::size_t bytes) {
        return little ? LittleEndian(tiff.substr(at, bytes)) : BigEndian(tiff.substr(at, bytes));
    };
    const std::size_t directory = number(4, 4);
    if (directory > tiff.size() - 2) {
        return 1;
    }
    const std::size_t entries = number(directory, 2);
    for (std::size_t i = 0; i < entries && directory + 2 + i * 12 + 12 <= tiff.size(); ++i) {
        const std::size_t entry = directory + 2 + i * 12;
        if (number(entry, 2) == 274) {
            const std::uint32_t value = number(entry + 8, 2);
            return value >= 1 && value <= 8 ? static_cast<int>(value) : 1;
        }
    }
    return 1;
}

} // namespace

int ExifOrientation(std::string_view head) {
    if (!head.starts_with("\xFF\xD8"sv)) {
        return TiffOrientation(head);
    }
    // JPEG segments up to the picture data: FF, a marker, a big-endian length that counts itself.
    for (std::size_t at = 2; at + 4 <= head.size() && head[at] == '\xFF';) {
        const auto marker = static_cast<unsigned char>(head[at + 1]);
        const std::size_t length = BigEndian(head.substr(at + 2, 2));
        if (marker == 0xDA || length < 2) {
            break;
        }
        const std::string_view body = head.substr(at + 4, std::min(length - 2, head.size() - at - 4));
        if (marker == 0xE1 && body.starts_with("Exif\0\0"sv)) {
            return TiffOrientation(body.substr(6));
        }
        at += 2 + length;
    }
    return 1;
}

bool LooksLikePicture(std::string_view head) {
    return std::any_of(kMagic.begin(), kMagic.end(),
                       [head](std::string_view m) { return head.starts_with(m); }) ||
           IsBitmap(head) || IsWebP(head) || IsPictureMedia(head);
}

} // namespace zelvano
