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

void SavePictureAsPng(const QImage& picture, const QString& path) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "PNG");
    writer.setQuality(80);  // the fastest zlib level above none
    if (!writer.write(picture)) throw IoError::FromErrno(EIO);
    TextFileWriter file(path);
    file.WriteBytes(bytes);
    file.Close();
}

}  // namespace platform
