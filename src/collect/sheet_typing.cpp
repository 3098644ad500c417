// Moving through a sheet and marking its answers.
#include "collect/sheet_typing.h"

#include <QStringList>

namespace collect {

SheetTyping::SheetTyping(const results::ResultsTally& tally)
    : questionCount_(tally.QuestionCount), answerCounts_(tally.AnswerCount) {}

bool SheetTyping::Toggle(int answer) {
    if (question_ > questionCount_ || answer < 1 || answer > AnswerCount()) return false;
    sheet_.Toggle(question_, answer);
    return true;
}

bool SheetTyping::Next() {
    if (question_ >= questionCount_) return false;
    ++question_;
    return true;
}

bool SheetTyping::Previous() {
    if (question_ <= 1) return false;
    --question_;
    return true;
}

void SheetTyping::StartNewSheet() {
    question_ = 1;
    sheet_ = {};
}

QString SheetAnswers(const results::AnswerSheet& sheet, const results::ResultsTally& tally) {
    QStringList questions;
    for (int q = 1; q <= tally.QuestionCount; ++q) {
        QString marks;
        for (int a = 1; a <= tally.AnswerCount[q]; ++a) {
            if (!sheet.IsMarked(q, a)) continue;
            if (!marks.isEmpty()) marks += u' ';
            marks += QChar(u'a' + a - 1);
        }
        questions << QStringLiteral("%1: %2").arg(q).arg(marks.isEmpty() ? QStringLiteral("–") : marks);
    }
    return questions.join(QStringLiteral("   "));
}

}  // namespace collect
