// What the QR code of a sheet's page says: the format, the questionnaire's fingerprint, the
// sheet's number and which of its pages this is; and the fingerprint itself.
#pragma once

#include <QByteArray>
#include <QList>
#include <optional>

#include "results/results_tally.h"

namespace scan {

constexpr int kMaxSheetNumber = 99999;
constexpr int kMaxCopies = 999;

struct SheetCode {
    QByteArray fingerprint;  // 16 upper-case hexadecimal digits
    int sheet = 0;           // 1..kMaxSheetNumber
    int page = 0;            // 1..pages
    int pages = 0;

    friend bool operator==(const SheetCode&, const SheetCode&) = default;
};

// "NZ1:" and the fields joined by ":", all in the QR code's compact alphanumeric characters:
// "NZ1:3F9A0C12B4E5D6F7:17:1:2".
QByteArray SheetCodeText(const SheetCode& code);
// The code a text carries; nothing for a text of another format or with a field out of range.
std::optional<SheetCode> ParseSheetCode(const QByteArray& text);

// The questionnaire as results carry it: the question count, every answer count and the
// questionnaire's text (as results made from its survey file hold it), hashed into 16
// hexadecimal digits. Equal questionnaires give equal fingerprints on every computer.
QByteArray QuestionnaireFingerprint(const results::ResultsTally& tally,
                                    const QList<QByteArray>& surveyText);

}  // namespace scan
