// Text is kept as Windows-1250 bytes; these convert at the screen boundary only.
#pragma once

#include <QByteArray>
#include <QString>
#include <QValidator>
#include <optional>
#include <stdexcept>

class QLineEdit;

namespace platform {

// A text that cannot be kept as a line of Windows-1250 bytes; its text is shown in the error box
// like any other failure of a handler.
class CodePageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

QString FromCodePage(const QByteArray& bytes);
// The text's bytes, one for each character. Throws CodePageError, and never writes a substitute
// byte, when a character has no byte of its own.
QByteArray ToCodePage(const QString& text);
// For text that is only drawn, never stored: a character without a byte of its own becomes '?'.
QByteArray ToCodePageForDrawing(const QString& text);
// True when every character has a Windows-1250 byte of its own: what may be typed. The
// end-of-file byte 1A and the line-ending bytes CR and LF are refused too, since a line holding
// them would not read back.
bool CodePageCanHold(const QString& text);

// Lets the user type or paste into an edit box only what the code page can hold. Only what a
// change adds is judged: the text already in the box, such as a line the program put there from
// a file, stays as it is.
class CodePageValidator : public QValidator {
public:
    explicit CodePageValidator(QLineEdit* edit);
    State validate(QString& input, int& position) const override;
    // The program puts `text` in the box: it is taken as it is.
    void TakeText(const QString& text) { before_ = text; }

private:
    QString before_;  // the box's text before the change being judged
};

}  // namespace platform
