// Chart pictures as bitmap files: encoded by Qt, written with checked file operations.
#include "platform/picture_file.h"

#include <QBuffer>
#include <QFile>
#include <cerrno>
#include <cstdio>

#include "platform/io_error.h"

namespace platform {

void SavePictureAsBitmap(const QImage& picture, const QString& path) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!picture.save(&buffer, "BMP")) {
        throw IoError::FromErrno(EIO);
    }
    if (path.isEmpty()) throw IoError(IoError::FileNotFound);
    errno = 0;
    std::FILE* file = std::fopen(QFile::encodeName(path).constData(), "wb");
    if (!file) throw IoError::FromErrno(errno ? errno : EIO);
    const auto size = static_cast<std::size_t>(bytes.size());
    const bool written = std::fwrite(bytes.constData(), 1, size, file) == size;
    const int writeError = errno;
    const bool closed = std::fclose(file) == 0;
    if (!written) throw IoError::FromErrno(writeError ? writeError : EIO);
    if (!closed) throw IoError::FromErrno(errno ? errno : EIO);
}

}  // namespace platform
