// The checks of a sent photo: its kind by its first bytes, its structure walked to its end, and
// the size its header claims.
#include "scan/photo_upload.h"

#include <QBuffer>
#include <QImageReader>
#include <algorithm>
#include <cstring>

#include "scan/scan_files.h"

namespace scan {
namespace {

quint32 BigEndian(QByteArrayView bytes, qsizetype at, int count) {
    quint32 value = 0;
    for (int i = 0; i < count; ++i) value = value << 8 | static_cast<quint8>(bytes[at + i]);
    return value;
}

// A JPEG file's segments walked from its start to its end of image: every segment whole, every
// scan's coded data ended by a marker. Bytes after the end of image (a phone's own additions)
// do not count. A file cut short anywhere lacks its end.
bool JpegWhole(QByteArrayView file) {
    qsizetype at = 2;
    const qsizetype size = file.size();
    const auto byte = [&](qsizetype i) { return static_cast<quint8>(file[i]); };
    while (true) {
        if (at >= size || byte(at) != 0xFF) return false;
        while (at < size && byte(at) == 0xFF) ++at;  // fill bytes
        if (at >= size) return false;
        const quint8 marker = byte(at++);
        if (marker == 0xD9) return true;                                  // end of image
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) continue;  // no length
        if (marker == 0x00 || at + 2 > size) return false;
        const quint32 length = BigEndian(file, at, 2);
        if (length < 2 || at + length > size) return false;
        at += length;
        if (marker != 0xDA) continue;
        // The coded data of a scan: a 0xFF in it is followed by 0x00 (a stuffed byte) or by a
        // restart marker; any other marker ends it.
        while (true) {
            const void* next = std::memchr(file.data() + at, 0xFF, static_cast<std::size_t>(size - at));
            if (!next) return false;
            at = static_cast<const char*>(next) - file.data();
            if (at + 1 >= size) return false;
            const quint8 following = byte(at + 1);
            if (following == 0x00 || (following >= 0xD0 && following <= 0xD7)) {
                at += 2;
                continue;
            }
            if (following == 0xFF) {
                ++at;  // fill before a marker
                continue;
            }
            break;
        }
    }
}

// A PNG file's chunks walked from its header to its end chunk, every chunk whole.
bool PngWhole(QByteArrayView file) {
    qsizetype at = 8;
    bool first = true;
    while (true) {
        if (at + 12 > file.size()) return false;
        const quint32 length = BigEndian(file, at, 4);
        const QByteArrayView type = file.sliced(at + 4, 4);
        if (length > 0x7FFFFFFFu || at + 12 + qsizetype(length) > file.size()) return false;
        if (first && type != "IHDR") return false;
        first = false;
        if (type == "IEND") return true;
        at += 12 + length;
    }
}

}  // namespace

QString PhotoRefusalText(PhotoRefusal refusal) {
    switch (refusal) {
        case PhotoRefusal::None:
            return {};
        case PhotoRefusal::NotAnImage:
            return QStringLiteral("to nie jest zdjęcie JPEG ani PNG");
        case PhotoRefusal::TooLarge:
            return QStringLiteral("plik jest większy niż 20 MB");
        case PhotoRefusal::TooManyPixels:
            return QStringLiteral("zdjęcie ma więcej niż 50 megapikseli");
        case PhotoRefusal::Broken:
            return QStringLiteral("plik zdjęcia jest uszkodzony albo niepełny");
    }
    return {};
}

PhotoRefusal CheckPhoto(QByteArrayView file) {
    if (file.size() > kMostPhotoBytes) return PhotoRefusal::TooLarge;
    const ScanFormat kind = ScanFormatOf(file.first(std::min<qsizetype>(file.size(), 16)));
    if (kind != ScanFormat::Jpeg && kind != ScanFormat::Png) return PhotoRefusal::NotAnImage;
    if (!(kind == ScanFormat::Jpeg ? JpegWhole(file) : PngWhole(file))) return PhotoRefusal::Broken;
    // The size as the header claims it: Qt reads a PNG's IHDR and a JPEG's frame header only.
    QByteArray bytes = QByteArray::fromRawData(file.data(), file.size());
    QBuffer device(&bytes);
    device.open(QIODevice::ReadOnly);
    QImageReader header(&device, kind == ScanFormat::Jpeg ? "jpeg" : "png");
    header.setDecideFormatFromContent(false);
    const QSize size = header.size();
    if (!size.isValid()) return PhotoRefusal::Broken;
    if (qint64(size.width()) * size.height() > kMostPhotoPixels) return PhotoRefusal::TooManyPixels;
    return PhotoRefusal::None;
}

}  // namespace scan
