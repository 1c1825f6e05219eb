#include "platform/qt/PictureReader.h"

#include "platform/NativeOs.h"
#include "platform/qt/OffThread.h"
#include "platform/qt/Texts.h"

#include <QFile>
#include <QImageReader>

#if defined(_WIN32)
#include <QFileInfo>
#else
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace zelvano {

namespace {

#if defined(_WIN32)
OpResult OpenBytes(const std::string& path, QFile& file) {
    file.setFileName(Display(path));
    if (!QFileInfo::exists(file.fileName())) {
        return OpResult::fail(Failure::NotFound, "no such file");
    }
    if (QFileInfo(file.fileName()).isDir() || !file.open(QIODevice::ReadOnly)) {
        return OpResult::fail(Failure::Other, file.errorString().toStdString());
    }
    return OpResult::success();
}
#else
// Opens the file by its bytes, so that a name that is not UTF-8 opens too.
OpResult OpenBytes(const std::string& path, QFile& file) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        return FromErrno(errno);
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return OpResult::fail(Failure::Other, "not an ordinary file");
    }
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return OpResult::fail(Failure::Other, file.errorString().toStdString());
    }
    return OpResult::success();
}
#endif

OpResult NotAPicture(const QImageReader& reader) {
    return OpResult::fail(Failure::NotAPicture, reader.errorString().toStdString());
}

} // namespace

PictureRead ReadPicture(const std::string& path, QSize bound) {
    PictureRead out;
    QFile file;
    out.result = OpenBytes(path, file);
    if (!out.result.ok()) {
        return out;
    }
    QImageReader reader(&file);
    reader.setAutoTransform(true);
    const QSize stored = reader.size();
    const bool turned = (reader.transformation() & QImageIOHandler::TransformationRotate90) != 0;
    if (stored.isValid()) {
        out.uprightSize = turned ? stored.transposed() : stored;
        if (!bound.isValid()) {
            return out;
        }
        if (out.uprightSize.width() > bound.width() || out.uprightSize.height() > bound.height()) {
            const QSize fit = out.uprightSize.scaled(bound, Qt::KeepAspectRatio).expandedTo(QSize(1, 1));
            reader.setScaledSize(turned ? fit.transposed() : fit); // scaling comes before turning
        }
    }
    out.image = reader.read();
    if (out.image.isNull()) {
        out.result = NotAPicture(reader);
        out.uprightSize = {};
        return out;
    }
    if (!stored.isValid()) { // a format that cannot tell its size up front
        out.uprightSize = out.image.size();
        if (bound.isValid() && (out.image.width() > bound.width() || out.image.height() > bound.height())) {
            out.image = out.image.scaled(bound, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        }
    }
    return out;
}

PictureRead ReadPictureOffThread(const std::string& path, QSize bound) {
    PictureRead read;
    RunOffThread([&] { read = ReadPicture(path, bound); });
    return read;
}

} // namespace zelvano
