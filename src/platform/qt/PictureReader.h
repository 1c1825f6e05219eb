#pragma once

#include "platform/OpResult.h"
#include "platform/Window.h"

#include <QImage>
#include <QSize>

#include <chrono>
#include <string>

namespace zelvano {

struct PictureRead {
    OpResult result;
    QSize uprightSize; // the picture's own size, turned upright by its orientation tag
    QImage image;      // decoded only when a bound was given
};

// Reads a picture file. With a valid `bound` the picture is decoded turned upright and scaled to
// fit inside the bound (never enlarged); large photos are decoded at that size, not in full.
// Without a bound only the header is read. The file is closed again before this returns. Each
// piece read from the drive is noted in `heard`, when given.
// Failures: NotFound when the file is not there, NotAPicture when its content is not recognised
// as a picture, AccessError when it may not be read, and Other when it could not be opened or a
// recognised picture could not be decoded (too large, cut short, a read error).
PictureRead ReadPicture(const std::string& path, QSize bound, LastAnswer* heard = nullptr);

// The same, off the window's thread, as `win` waits for every drive (see OnDrive): `drive` is the
// drive the file is on. A read whose drive says nothing for `silence` is given up and left behind;
// one that keeps delivering, however slowly, is waited for.
PictureRead ReadPictureOffThread(Window& win, const std::string& drive, const std::string& path, QSize bound,
                                 std::chrono::milliseconds silence);

} // namespace zelvano
