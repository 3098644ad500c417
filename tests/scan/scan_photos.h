// Picture files made for the tests of sent photos: small JPEG and PNG files, and a PNG that claims
// a size of its own whatever it holds.
#pragma once

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QImageWriter>

namespace scan_testing {

// A grey picture of `size` in the format `format` ("JPG", "PNG").
inline QByteArray PictureFile(QSize size, const char* format) {
    QImage picture(size, QImage::Format_RGB32);
    picture.fill(QColor(180, 190, 200));
    QByteArray bytes;
    QBuffer device(&bytes);
    device.open(QIODevice::WriteOnly);
    QImageWriter writer(&device, format);
    writer.write(picture);
    return bytes;
}

inline quint32 Crc32(const QByteArray& bytes) {
    quint32 crc = 0xFFFFFFFFu;
    for (const char c : bytes) {
        crc ^= static_cast<quint8>(c);
        for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

// A small, whole PNG whose header claims `width` × `height` pixels of grey: a picture that would
// take that many bytes once decoded.
inline QByteArray PngClaiming(quint32 width, quint32 height) {
    const auto chunk = [](const QByteArray& type, const QByteArray& data) {
        QByteArray bytes;
        const auto number = [&](quint32 value) {
            for (int shift = 24; shift >= 0; shift -= 8) bytes += static_cast<char>(value >> shift & 0xFF);
        };
        number(static_cast<quint32>(data.size()));
        bytes += type + data;
        number(Crc32(type + data));
        return bytes;
    };
    QByteArray header;
    for (const quint32 value : {width, height}) {
        for (int shift = 24; shift >= 0; shift -= 8) header += static_cast<char>(value >> shift & 0xFF);
    }
    header += QByteArray("\x08\x00\x00\x00\x00", 5);  // 8 bits of grey, no interlacing
    // A few bytes of compressed data: an empty stored block.
    const QByteArray data("\x78\x01\x01\x00\x00\xff\xff\x00\x00\x00\x01", 11);
    return QByteArray("\x89PNG\r\n\x1a\n", 8) + chunk("IHDR", header) + chunk("IDAT", data) + chunk("IEND", {});
}

}  // namespace scan_testing
