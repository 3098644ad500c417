// Writing a chart picture to disk as a Windows bitmap file or a PNG file.
#pragma once

#include <QImage>
#include <QString>

namespace platform {

// Writes the picture at its own size as a standard BMP file, creating `path` or replacing it only
// once the new file is complete (WriteFileReplacing). Throws IoError when it cannot be saved.
void SavePictureAsBitmap(const QImage& picture, const QString& path);

// Writes the picture at its own size as a PNG file, compressed quickly (flat chart colours pack
// well even so), creating or replacing `path` without waiting for the disk. Throws IoError.
void SavePictureAsPng(const QImage& picture, const QString& path);

}  // namespace platform
