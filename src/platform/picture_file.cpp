// Chart pictures as bitmap files: encoded by Qt, saved like every other file of the program.
#include "platform/picture_file.h"

#include <QBuffer>
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

}  // namespace platform
