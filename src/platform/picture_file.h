// Writing a chart picture to disk as a Windows bitmap file.
#pragma once

#include <QImage>
#include <QString>

namespace platform {

// Writes the picture at its own size as a standard BMP file, creating or overwriting `path`.
// Throws IoError when the file cannot be created or written.
void SavePictureAsBitmap(const QImage& picture, const QString& path);

}  // namespace platform
