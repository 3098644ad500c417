// Computing and drawing the multi chart on the screen picture and on the printer page.
#include "charts/multi_chart.h"

#include <algorithm>

#include "platform/canvas.h"
#include "platform/round.h"

namespace charts {
namespace {

using platform::Round;

// Where the groups of bars go on the picture or the page.
struct GroupsLayout {
    int BarWidth;
    int GroupLeft;      // where the first bar begins
    double baseline;    // 0 percent
    int bottom;         // the bars' bottom edge, left out
    double perPercent;  // pixels per percent on the full scale
    int valuePoints;    // font size of the values
    int letterPoints;   // font size of the answers' bold letters
    int letterTop;
};

// The groups of bars, each bar with its value above it and each group with its letter under it.
// `label` draws a bar's value, given its series, text, middle and height.
template <typename Label>
void DrawGroups(platform::Canvas& canvas, const MultiChartValues& values,
                const PerSeries<QColor>& SeriesColour, bool ScaleToFull, GroupsLayout layout,
                Label label) {
    const int BarWidth = layout.BarWidth;
    int GroupLeft = layout.GroupLeft;
    for (int a = 1; a <= values.MaxAnswers; ++a) {
        int k = 0;
        canvas.SetFont(
            {QStringLiteral("times new roman"), layout.valuePoints, false, false, Qt::black});
        for (int s = 1; s <= 3; ++s) {
            if (a > values.AnswerCounts[s]) continue;
            const double value = values.SeriesValue[s][a];
            const double h =
                ScaleToFull ? value * layout.perPercent : value * layout.perPercent * values.ScaleFactor;
            canvas.SetBrush(SeriesColour[s]);
            canvas.Rectangle(GroupLeft, Round(layout.baseline - h), GroupLeft + BarWidth,
                             layout.bottom);
            label(s, QByteArray::number(ShownPercent(value)), GroupLeft + BarWidth * 0.5, h);
            ++k;
            GroupLeft += BarWidth;
        }
        canvas.SetFont(
            {QStringLiteral("times new roman"), layout.letterPoints, true, false, Qt::black});
        CentredText(canvas, GroupLeft - k * BarWidth * 0.5, layout.letterTop, AnswerLetter(a));
        GroupLeft += 20;
    }
}

}  // namespace

MultiChartValues ComputeMultiValues(const results::ResultsTally& tally,
                                    const PerSeries<std::uint8_t>& SeriesQuestion,
                                    PercentBase base) {
    MultiChartValues values;
    values.SeriesQuestion = SeriesQuestion;
    for (int s = 1; s <= 3; ++s) {
        values.AnswerCounts[s] = AnswerCountOf(tally, SeriesQuestion[s]);
        values.AnswerSum[s] = AnswerSumOf(tally, SeriesQuestion[s]);
        values.SeriesValue[s] = SharesOf(tally, SeriesQuestion[s], base);
        values.MaxAnswers = std::max(values.MaxAnswers, values.AnswerCounts[s]);
        values.BarCount += values.AnswerCounts[s];
        for (int a = 1; a <= values.AnswerCounts[s]; ++a) {
            values.LargestValue = std::max(values.LargestValue, values.SeriesValue[s][a]);
        }
    }
    values.ScaleFactor = values.LargestValue > 0 ? 100 / values.LargestValue : 0;
    values.BarWidth = 700 - (values.MaxAnswers + 1) * 20;
    if (values.BarCount > 0) values.BarWidth = Round(values.BarWidth / double(values.BarCount));
    return values;
}

void DrawMultiChart(platform::Canvas& canvas, const MultiChartValues& values,
                    const PerSeries<QColor>& SeriesColour, bool ScaleToFull) {
    canvas.SetPen(Qt::black);
    ClearPicture(canvas, 20, 20);
    // Grid at 100, 75, 50 and 25 percent of the full scale; axes with a tick at 50.
    canvas.SetPen(Qt::black, platform::PenStyle::Dotted);
    for (int y : {25, 85, 145, 205}) DrawLine(canvas, 5, y, 705, y);
    canvas.SetPen(Qt::black);
    DrawLine(canvas, 15, 25, 5, 25);
    canvas.LineTo(5, 265);
    canvas.LineTo(705, 265);
    DrawLine(canvas, 15, 145, 5, 145);

    // Values in the series' colour above their bars, without "%".
    DrawGroups(canvas, values, SeriesColour, ScaleToFull,
               {values.BarWidth, 25, 265, 266, 2.4, 8, 12, 266}, [&](int s, const QByteArray& text, double centre, double h) {
                   canvas.Font().colour = SeriesColour[s];
                   canvas.SetBrush(QColor(kSilver));
                   CentredText(canvas, centre, 251 - Round(h), text);
               });
}

void PrintMultiChartBody(platform::Canvas& canvas, const MultiChartValues& values,
                         const PerSeries<std::uint8_t>& SeriesQuestion,
                         const PerSeries<QColor>& SeriesColour, bool ScaleToFull, std::uint16_t H,
                         std::uint16_t W) {
    const int right = Round(0.95 * W);
    const int Y100 = Round(0.18 * H), Y75 = Round(0.37 * H), Y50 = Round(0.56 * H);
    const int Y25 = Round(0.75 * H), Y0 = Round(0.94 * H);
    DrawPrintedGrid(canvas, {Y100, Y75, Y50, Y25, Y0}, right);

    int BarWidth = Round(0.95 * W - 10 - (values.MaxAnswers + 1) * 0.02 * W);
    if (values.BarCount > 0) BarWidth = Round(BarWidth / double(values.BarCount));

    // The series legend: a colour sample and "Pytanie nr " + the series' question.
    canvas.SetFont({canvas.Font().face, 14, false, true, Qt::black});
    const int legendTop = Round(0.08 * H);
    const double lefts[] = {0, 0, 0.33, 0.66}, rights[] = {0, 0.06, 0.39, 0.72};
    const double texts[] = {0, 0.062, 0.392, 0.722};
    for (int s = 1; s <= 3; ++s) {
        canvas.SetBrush(SeriesColour[s]);
        canvas.Rectangle(Round(lefts[s] * W) + 10, legendTop, Round(rights[s] * W) + 10,
                         legendTop + canvas.TextHeight("EE"));
        canvas.SetBrush(Qt::white);
        canvas.TextOut(Round(texts[s] * W) + 10, legendTop,
                       "Pytanie nr " + QByteArray::number(SeriesQuestion[s]));
    }

    DrawGroups(canvas, values, SeriesColour, ScaleToFull,
               {BarWidth, Round(0.02 * W + 10), 0.94 * H, Y0, 0.76 * H * 0.01, 12, 14, Y0 + 2},
               [&](int, const QByteArray& text, double centre, double h) {
                   canvas.SetBrush(Qt::white);
                   CentredText(canvas, centre, Round(0.94 * H - h - canvas.TextHeight("E") - 2), text);
               });
}

}  // namespace charts
