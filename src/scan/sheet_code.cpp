// The text of a page's QR code and the questionnaire's fingerprint.
#include "scan/sheet_code.h"

#include <QCryptographicHash>

namespace scan {
namespace {

const QByteArray kFormat = QByteArrayLiteral("NZ1");

bool IsFingerprint(const QByteArray& text) {
    if (text.size() != 16) return false;
    for (const char c : text) {
        if (!((c >= '0' && c <= '9') || (c >= 'A' && c <= 'F'))) return false;
    }
    return true;
}

// A plain decimal of 1 to 5 digits, no sign or blanks.
std::optional<int> Number(const QByteArray& text) {
    if (text.isEmpty() || text.size() > 5) return std::nullopt;
    int value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return value;
}

}  // namespace

QByteArray SheetCodeText(const SheetCode& code) {
    return kFormat + ':' + code.fingerprint + ':' + QByteArray::number(code.sheet) + ':' +
           QByteArray::number(code.page) + ':' + QByteArray::number(code.pages);
}

std::optional<SheetCode> ParseSheetCode(const QByteArray& text) {
    const QList<QByteArray> fields = text.split(':');
    if (fields.size() != 5 || fields[0] != kFormat || !IsFingerprint(fields[1])) return std::nullopt;
    const auto sheet = Number(fields[2]);
    const auto page = Number(fields[3]);
    const auto pages = Number(fields[4]);
    if (!sheet || !page || !pages || *sheet < 1 || *sheet > kMaxSheetNumber || *page < 1 ||
        *page > *pages || *pages > results::kMaxQuestions) {
        return std::nullopt;
    }
    return SheetCode{fields[1], *sheet, *page, *pages};
}

QByteArray QuestionnaireFingerprint(const results::ResultsTally& tally,
                                    const QList<QByteArray>& surveyText) {
    QCryptographicHash hash(QCryptographicHash::Sha256);
    QByteArray counts = QByteArray::number(tally.QuestionCount);
    for (int q = 1; q <= tally.QuestionCount; ++q) {
        counts += ' ' + QByteArray::number(tally.AnswerCount[q]);
    }
    hash.addData(counts + '\n');
    for (const QByteArray& line : surveyText) hash.addData(line + '\n');
    return hash.result().left(8).toHex().toUpper();
}

}  // namespace scan
