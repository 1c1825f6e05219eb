#include "platform/qt/PictureReader.h"

#include "platform/DriveWait.h"
#include "platform/NativeOs.h"
#include "platform/PictureSignature.h"
#include "platform/qt/Texts.h"

#include <QFile>
#include <QImageReader>

#include <cerrno>
#include <fcntl.h>
#include <limits>
#include <memory>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>

namespace zelvano {

namespace {

// A file that notes each piece its drive delivers.
class HeardFile : public QFile {
public:
    explicit HeardFile(LastAnswer* heard) : heard_(heard) {}

protected:
    qint64 readData(char* data, qint64 maxSize) override {
        const qint64 n = QFile::readData(data, maxSize);
        if (heard_ != nullptr && n > 0) {
            heard_->heard();
        }
        return n;
    }

private:
    LastAnswer* heard_;
};

// Opens the file by its bytes, so that a name that is not UTF-8 opens too.
OpResult OpenBytes(const std::string& path, QFile& file) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        return FromErrno(errno, path);
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

// The size a header gives when the decoder cannot tell it (it refuses a bitmap too large for it).
QSize SizeFromHeader(std::string_view head) {
    const auto d = HeaderDimensions(head);
    constexpr std::uint32_t largest = std::numeric_limits<int>::max();
    if (!d || d->width == 0 || d->height == 0 || d->width > largest || d->height > largest) {
        return {};
    }
    return {static_cast<int>(d->width), static_cast<int>(d->height)};
}

bool BeyondAllocationLimit(QSize size) {
    const qint64 limit = qint64{QImageReader::allocationLimit()} * 1024 * 1024;
    return limit > 0 && qint64{size.width()} * size.height() * 4 > limit;
}

// Only content that no reader recognises is "not a picture". A picture that is too large to
// decode, cut short, unreadable from its medium or of a format no plugin here reads is a picture
// all the same, and must never be offered for deletion.
OpResult NotDecoded(const QImageReader& reader, std::string_view head, QSize size) {
    if (reader.error() == QImageReader::UnsupportedFormatError && !LooksLikePicture(head)) {
        return OpResult::fail(Failure::NotAPicture, reader.errorString().toStdString());
    }
    if (size.isValid() && BeyondAllocationLimit(size)) {
        return OpResult::fail(Failure::Other, "it is too large to decode (" + std::to_string(size.width()) +
                                                  " x " + std::to_string(size.height()) + " pixels)");
    }
    return OpResult::fail(Failure::Other, reader.errorString().toStdString());
}

} // namespace

PictureRead ReadPicture(const std::string& path, QSize bound, LastAnswer* heard) {
    PictureRead out;
    HeardFile file(heard);
    out.result = OpenBytes(path, file);
    if (!out.result.ok()) {
        return out;
    }
    const QByteArray peeked = file.peek(static_cast<qint64>(kPictureSignatureBytes));
    const std::string_view head(peeked.constData(), static_cast<std::size_t>(peeked.size()));
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
    } else if (!bound.isValid()) {
        out.uprightSize = SizeFromHeader(head);
        if (out.uprightSize.isValid()) {
            return out;
        }
    }
    out.image = reader.read();
    if (out.image.isNull()) {
        out.result = NotDecoded(reader, head, stored.isValid() ? stored : SizeFromHeader(head));
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

PictureRead ReadPictureOffThread(Window& win, const std::string& drive, const std::string& path, QSize bound,
                                 std::chrono::milliseconds silence) {
    auto read = std::make_shared<PictureRead>(); // a read given up may end after this has returned
    const OpResult waited = OnDrive(win, {drive}, silence, [read, path, bound](DriveCall& call) {
        *read = ReadPicture(path, bound, &call.answers());
    });
    if (!waited.ok()) {
        return {waited, {}, {}};
    }
    return std::move(*read);
}

} // namespace zelvano
