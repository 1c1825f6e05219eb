// Writes a picture for the print benchmark: red at the top fading to blue at the bottom, in the
// format its name ends with.
//   make_picture PATH WIDTH HEIGHT
#include <QImage>
#include <QString>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fputs("usage: make_picture PATH WIDTH HEIGHT\n", stderr);
        return 2;
    }
    const int width = std::atoi(argv[2]);
    const int height = std::atoi(argv[3]);
    QImage image(width, height, QImage::Format_RGB888);
    if (image.isNull()) {
        std::fputs("make_picture: no memory for the picture\n", stderr);
        return 1;
    }
    for (int y = 0; y < height; ++y) {
        const int blue = height > 1 ? y * 255 / (height - 1) : 0;
        auto* row = image.scanLine(y);
        for (int x = 0; x < width; ++x) {
            row[3 * x] = static_cast<uchar>(255 - blue);
            row[3 * x + 1] = 0;
            row[3 * x + 2] = static_cast<uchar>(blue);
        }
    }
    return image.save(QString::fromLocal8Bit(argv[1])) ? 0 : 1;
}
