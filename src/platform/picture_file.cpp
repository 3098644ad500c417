// Chart pictures as bitmap and PNG files: encoded by Qt, saved like every other file of the program.
#include "platform/picture_file.h"

#include <QBuffer>
#include <QImageWriter>
#include <cerrno>

#include "platform/io_error.h"
#include "platform/text_file.h"

namespace platform {

void SavePictureAsBitmap(const QImage& picture, const QString& path) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!picture.save(&buffer, "BMP")) throw IoError::FromErrno(EIO);
    // An old picture of that name stays whole until the new one is complete.
    WriteFileReplacing(path, [&bytes](TextFileWriter& file) { file.WriteBytes(bytes); });
}

namespace {

// The picture with a palette of its own colours, when it has no more than 256: the same pixels,
// which PNG stores in a quarter of the bytes and without trying every row filter. A null image
// for a picture of more colours.
QImage WithPalette(const QImage& picture) {
    const QImage rgb = picture.convertToFormat(QImage::Format_RGB32);
    QImage indexed(rgb.size(), QImage::Format_Indexed8);
    QList<QRgb> palette;
    QRgb last = 0;
    int lastIndex = -1;
    const int width = rgb.width();
    const int height = rgb.height();
    for (int y = 0; y < height; ++y) {
        const auto* from = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        uchar* to = indexed.scanLine(y);
        for (int x = 0; x < width; ++x) {
            // Charts are runs of few flat colours: the last one is nearly always the next.
            if (lastIndex < 0 || from[x] != last) {
                last = from[x];
                lastIndex = static_cast<int>(palette.indexOf(last));
                if (lastIndex < 0) {
                    if (palette.size() == 256) return {};
                    lastIndex = static_cast<int>(palette.size());
                    palette.append(last);
                }
            }
            to[x] = static_cast<uchar>(lastIndex);
        }
    }
    indexed.setColorTable(palette);
    return indexed;
}

}  // namespace

void SavePictureAsPng(const QImage& picture, const QString& path) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "PNG");
    writer.setQuality(80);  // the fastest zlib level above none
    const QImage indexed = WithPalette(picture);
    if (!writer.write(indexed.isNull() ? picture : indexed)) throw IoError::FromErrno(EIO);
    TextFileWriter file(path);
    file.WriteBytes(bytes);
    file.Close();
}

}  // namespace platform
