// Readable test failure output for Qt's strings: QString as its text, QByteArray as escaped bytes.
// Included into every test file by the build.
#pragma once

#include <QByteArray>
#include <QString>
#include <ostream>

inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }

inline void PrintTo(const QByteArray& bytes, std::ostream* out) {
    *out << '"';
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte < 0x7F && byte != '\\') {
            *out << c;
        } else {
            static const char* digits = "0123456789ABCDEF";
            *out << "\\x" << digits[byte >> 4] << digits[byte & 15];
        }
    }
    *out << '"';
}
