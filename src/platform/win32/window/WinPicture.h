#pragma once

#include "platform/LastAnswer.h"
#include "platform/OpResult.h"
#include "platform/Window.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace zelvano {

// Decoded pixels: 32-bit premultiplied BGRA, the top row first.
struct Pixels {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> bgra;
};

struct WinPictureRead {
    OpResult result;
    PixelSize uprightSize; // the picture's own size, turned upright by its orientation tag
    Pixels image;          // decoded only when a bound was given
};

// Reads a picture file with the Windows Imaging Component. With a bound (width and height above
// 0) the picture is decoded scaled to fit inside it, never enlarged, and turned upright; without
// one only the header is read. Failures: NotFound when its folder is there and the file is not,
// NotAPicture when its content is not recognised as a picture, AccessError when it may not be read,
// and Other when a recognised picture could not be decoded. Each piece read from the drive is
// noted in `heard`, when given. Safe to call on any thread.
WinPictureRead ReadWinPicture(const std::string& path, PixelSize bound, LastAnswer* heard = nullptr);

// Turns stored pixels upright by an Exif orientation (1 to 8).
Pixels Upright(const Pixels& stored, int orientation);

// Runs work that reads from a drive off the window's thread, giving it where to note the drive's
// answers: what the wait reported (see OnDrive).
using OffThreadRead = std::function<OpResult(const std::function<void(LastAnswer& heard)>& work)>;

// The last successful read of a picture, used again while the file stays as it was (its size and
// the time it was last written) and the bound is the same: start-up shows its first picture twice.
class RememberedRead {
public:
    // Reads `path` off the window's thread with `offThread` (even to learn whether the file is as
    // it was) unless the last read can stand for it.
    WinPictureRead read(const std::string& path, PixelSize bound, const OffThreadRead& offThread);

    struct Stamp {
        std::string path;
        std::uint64_t size = 0;
        std::uint64_t written = 0;
        PixelSize bound;
        bool operator==(const Stamp&) const = default;
    };

private:
    std::optional<Stamp> last_;
    WinPictureRead read_;
};

} // namespace zelvano
