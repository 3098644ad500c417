// Text is kept as Windows-1250 bytes; these convert at the screen boundary only.
#pragma once

#include <QByteArray>
#include <QString>
#include <QValidator>

namespace platform {

QString FromCodePage(const QByteArray& bytes);
// Converts text that CodePageCanHold accepts; anything else must not reach a file.
QByteArray ToCodePage(const QString& text);
// True when every character has a Windows-1250 byte of its own. The end-of-file byte 1A and the
// line-ending bytes CR and LF are refused too, since a line holding them would not read back.
bool CodePageCanHold(const QString& text);

// Lets an edit box take only text that the code page can hold.
class CodePageValidator : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int& position) const override;
};

}  // namespace platform
