// Windows-1250 conversion of the texts the system keeps.
#include "platform/encoding.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace platform {
namespace {
constexpr const char* kCodePage = "windows-1250";
}

QString FromCodePage(const QByteArray& bytes) {
    QStringDecoder decoder(kCodePage);
    return decoder.decode(bytes);
}

QByteArray ToCodePage(const QString& text) {
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
