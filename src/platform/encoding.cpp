// Windows-1250 conversion of the texts the system keeps.
#include "platform/encoding.h"

#include <QLineEdit>
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

// The text's bytes, or nothing when the code page has no byte of its own for one of its
// characters. The encoder would write its substitute 1A for such a character, or a look-alike
// byte, and neither decodes back to the character.
std::optional<QByteArray> Encode(const QString& text) {
    if (IsAscii(text)) return text.toLatin1();
    QStringEncoder encoder(kCodePage);
    const QByteArray bytes = encoder.encode(text);
    if (encoder.hasError() || FromCodePage(bytes) != text) return std::nullopt;
    return bytes;
}

}  // namespace

QString FromCodePage(const QByteArray& bytes) {
    if (IsAscii(bytes)) return QString::fromLatin1(bytes);
    QStringDecoder decoder(kCodePage);
    return decoder.decode(bytes);
}

QByteArray ToCodePage(const QString& text) {
    std::optional<QByteArray> bytes = Encode(text);
    if (!bytes) throw CodePageError("Tekst zawiera znak, którego nie można zapisać w pliku");
    return *std::move(bytes);
}

QByteArray ToCodePageForDrawing(const QString& text) {
    QByteArray bytes;
    for (const QChar c : text) bytes += Encode(QString(c)).value_or(QByteArray("?"));
    return bytes;
}

bool CodePageCanHold(const QString& text) {
    for (const QChar c : text) {
        if (c == QChar(0x1A) || c == u'\r' || c == u'\n') return false;
    }
    return Encode(text).has_value();
}

CodePageValidator::CodePageValidator(QLineEdit* edit) : QValidator(edit) {
    connect(edit, &QLineEdit::textChanged, this, [this](const QString& text) { before_ = text; });
}

QValidator::State CodePageValidator::validate(QString& input, int&) const {
    // What the change put between the unchanged start and end of the text.
    const qsizetype shorter = std::min(input.size(), before_.size());
    qsizetype start = 0;
    while (start < shorter && input[start] == before_[start]) ++start;
    qsizetype end = 0;
    while (end < shorter - start &&
           input[input.size() - 1 - end] == before_[before_.size() - 1 - end]) {
        ++end;
    }
    return CodePageCanHold(input.mid(start, input.size() - start - end)) ? Acceptable : Invalid;
}

}  // namespace platform
