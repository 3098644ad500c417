// Shared pieces of the chart drawings.
#include "charts/chart_drawing.h"

#include <algorithm>

#include "platform/canvas.h"
#include "platform/dialogs.h"
#include "platform/round.h"

namespace charts {

void ClearPicture(platform::Canvas& canvas, int x, int y) {
    canvas.SetBrush(QColor(kSilver));
    canvas.FloodFill(x, y, QColor(kMaroon), platform::FloodFillMode::Border);
}

QColor PickBoxColour(platform::Dialogs& dialogs, Qt::MouseButton button, QColor current,
                     QColor defaultColour) {
    if (button == Qt::RightButton) return defaultColour;
    if (button != Qt::LeftButton) return current;
    const QColor chosen = dialogs.ChooseColour(current);
    return chosen.rgb() == QColor(kMaroon).rgb() ? defaultColour : chosen;
}

int AnswerCountOf(const results::ResultsTally& tally, int question) {
    // Counts past the loaded file's questions are left over from an earlier file.
    const int questions = std::min<int>(tally.QuestionCount, results::kMaxQuestions);
    if (question < 1 || question > questions) return 0;
    return std::min<int>(tally.AnswerCount[question], results::kMaxAnswers);
}

std::int32_t AnswerSumOf(const results::ResultsTally& tally, int question) {
    std::int32_t sum = 0;
    for (int a = 1; a <= AnswerCountOf(tally, question); ++a) sum += tally.AnswerTally[question][a];
    return sum;
}

Percentages SharesOf(const results::ResultsTally& tally, int question, PercentBase base) {
    Percentages percent{};
    const double divisor =
        base == PercentBase::Answers ? AnswerSumOf(tally, question) : tally.RespondentCount;
    if (divisor == 0) return percent;
    for (int a = 1; a <= AnswerCountOf(tally, question); ++a) {
        percent[a] = tally.AnswerTally[question][a] * 100.0 / divisor;
    }
    return percent;
}

QByteArray AnswerLetter(int answer) { return QByteArray(1, static_cast<char>('a' + answer - 1)); }

QByteArray PercentLabel(double percent) {
    return QByteArray::number(platform::Round(percent)) + '%';
}

}  // namespace charts
