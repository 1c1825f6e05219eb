#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace zelvano {

// How many of a file's first bytes LooksLikePicture needs.
inline constexpr std::size_t kPictureSignatureBytes = 32;

// Whether a file's first bytes are those of a picture format: JPEG, PNG, GIF, BMP, TIFF and the
// camera raw formats, WebP, HEIF and AVIF, JPEG 2000, JPEG XL, Photoshop. A file that starts like a
// picture is a picture even when no decoder at hand can read it (too large, cut short, a format
// the system lacks), and is never offered for deletion as "not a picture".
bool LooksLikePicture(std::string_view head);

struct PictureDimensions {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    bool operator==(const PictureDimensions&) const = default;
};

// The size that a bitmap, PNG or GIF header in `head` gives, read where a decoder may refuse to
// (a bitmap too large for it).
std::optional<PictureDimensions> HeaderDimensions(std::string_view head);

// How many of a file's first bytes ExifOrientation needs: a JPEG's Exif block can be this long.
inline constexpr std::size_t kExifBytes = std::size_t{64} * 1024;

// The orientation tag (1 to 8) of a JPEG's Exif block or a TIFF's first directory in `head`; 1,
// upright, when there is none. 5 to 8 mean the picture lies on its side.
int ExifOrientation(std::string_view head);

} // namespace zelvano
