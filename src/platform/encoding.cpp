// Windows-1250 conversion of the texts the system keeps.
#include "platform/encoding.h"

#include <QStringDecoder>
#include <QStringEncoder>
#include <algorithm>

namespace platform {
namespace {

constexpr const char* kCodePage = "windows-1250";

// The code page's lower half is ASCII: such texts need no converter, whose first use loads the
// conversion library and its tables (a megabyte, and the survey editor's start-up texts are
// ASCII).
bool IsAscii(QByteArrayView bytes) {
    return std::all_of(bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

bool IsAscii(QStringView text) {
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x80; });
}

}  // namespace

QString FromCodePage(const QByteArray& bytes) {
    if (IsAscii(bytes)) return QString::fromLatin1(bytes);
    QStringDecoder decoder(kCodePage);
    return decoder.decode(bytes);
}

QByteArray ToCodePage(const QString& text) {
    if (IsAscii(text)) return text.toLatin1();
    QStringEncoder encoder(kCodePage);
    return encoder.encode(text);
}

bool CodePageCanHold(const QString& text) {
    for (const QChar c : text) {
        if (c == QChar(0x1A) || c == u'\r' || c == u'\n') return false;
    }
    // The encoder writes 1A for a character it cannot map; 1A itself was refused above, so any
    // 1A in the result is such a substitute. Decoding back must give the same text.
    const QByteArray bytes = ToCodePage(text);
    return !bytes.contains('\x1A') && FromCodePage(bytes) == text;
}

QValidator::State CodePageValidator::validate(QString& input, int&) const {
    return CodePageCanHold(input) ? Acceptable : Invalid;
}

}  // namespace platform
