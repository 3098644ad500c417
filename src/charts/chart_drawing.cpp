// Shared pieces of the chart drawings.
#include "charts/chart_drawing.h"

#include <algorithm>

#include "platform/canvas.h"
#include "platform/dialogs.h"
#include "platform/round.h"

namespace charts {

QImage BlankPicture(QSize size) {
    QImage picture(size, QImage::Format_RGB32);
    picture.fill(QColor(kSilver));
    return picture;
}

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

std::int32_t AnswerSumOf(const AnswerTallies& tallies, int answerCount) {
    std::int32_t sum = 0;
    for (int a = 1; a <= answerCount; ++a) sum += tallies[a];
    return sum;
}

std::int32_t AnswerSumOf(const results::ResultsTally& tally, int question) {
    const int n = AnswerCountOf(tally, question);
    return n > 0 ? AnswerSumOf(tally.AnswerTally[question], n) : 0;
}

Percentages SharesOf(const results::ResultsTally& tally, int question, PercentBase base) {
    const int n = AnswerCountOf(tally, question);
    if (n == 0) return {};
    return SharesOf(tally.AnswerTally[question], n, tally.RespondentCount, base);
}

Percentages SharesOf(const AnswerTallies& tallies, int answerCount, std::uint16_t respondents,
                     PercentBase base) {
    Percentages percent{};
    const int n = std::clamp(answerCount, 0, results::kMaxAnswers);
    const double divisor = base == PercentBase::Answers ? AnswerSumOf(tallies, n) : respondents;
    if (divisor == 0) return percent;
    for (int a = 1; a <= n; ++a) percent[a] = tallies[a] * 100.0 / divisor;
    return percent;
}

void DrawLine(platform::Canvas& canvas, int x1, int y1, int x2, int y2) {
    canvas.MoveTo(x1, y1);
    canvas.LineTo(x2, y2);
}

void DrawPrintedGrid(platform::Canvas& canvas, const PercentLevels& y, int right) {
    canvas.SetPen(Qt::black, platform::PenStyle::Dotted);
    DrawLine(canvas, 14, y.Y100, right, y.Y100);
    DrawLine(canvas, 10, y.Y75, right, y.Y75);
    DrawLine(canvas, 14, y.Y50, right, y.Y50);
    DrawLine(canvas, 10, y.Y25, right, y.Y25);
    canvas.SetPen(Qt::black);
    DrawLine(canvas, 14, y.Y100, 10, y.Y100);
    canvas.LineTo(10, y.Y0);
    canvas.LineTo(right, y.Y0);
    DrawLine(canvas, 14, y.Y50, 10, y.Y50);
}

void CentredText(platform::Canvas& canvas, double centre, int y, const QByteArray& text) {
    canvas.TextOut(platform::Round(centre - canvas.TextWidth(text) * 0.5), y, text);
}

AnswerShares AnswerSharesOf(const results::ResultsTally& tally, int question) {
    AnswerShares shares;
    shares.Question = question;
    shares.AnswerCount = AnswerCountOf(tally, question);
    shares.AnswerSum = AnswerSumOf(tally, question);
    shares.Percent = SharesOf(tally, question, PercentBase::Answers);
    return shares;
}

QByteArray AnswerLetter(int answer) { return QByteArray(1, static_cast<char>('a' + answer - 1)); }

int ShownPercent(double percent) { return platform::Round(percent); }

QByteArray PercentLabel(double percent) { return QByteArray::number(ShownPercent(percent)) + '%'; }

void DrawQuestionTitle(platform::Canvas& canvas, int x, int question) {
    canvas.SetBrush(QColor(kSilver));
    canvas.SetFont({QStringLiteral("MS Sans Serif"), 10, true, true, Qt::black});
    canvas.TextOut(x, 0, "Pytanie nr " + QByteArray::number(question));
    canvas.SetFont({QStringLiteral("MS Sans Serif"), 8, false, false, Qt::black});
}

void DrawLegendEntry(platform::Canvas& canvas, int boxLeft, int top, int textLeft, int answer,
                     double percent) {
    canvas.SetBrush(QColor(AnswerColours[answer]));
    canvas.Rectangle(boxLeft, top, boxLeft + 20, top + 16);
    canvas.Font().bold = true;
    CentredText(canvas, boxLeft + 10, top + 1, AnswerLetter(answer));
    canvas.SetBrush(QColor(kSilver));
    canvas.Font().bold = false;
    canvas.TextOut(textLeft, top + 1, "- " + PercentLabel(percent));
}

}  // namespace charts
