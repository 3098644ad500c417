// Drawing the bar chart on the screen picture and on the printer page.
#include "charts/bar_chart.h"

#include <algorithm>

#include "platform/canvas.h"
#include "platform/round.h"

namespace charts {

using platform::Round;

BarChartShares ComputeBarShares(const results::ResultsTally& tally, int question,
                                PercentBase base) {
    BarChartShares shares;
    shares.Question = question;
    shares.AnswerCount = AnswerCountOf(tally, question);
    shares.Percent = SharesOf(tally, question, base);
    const double largest = *std::max_element(shares.Percent.begin(), shares.Percent.end());
    shares.ScaleFactor = largest != 0 ? 100 / largest : 0;
    return shares;
}

double DisplayedPercent(const BarChartShares& shares, int answer, bool ScaleToFull) {
    return ScaleToFull ? shares.Percent[answer] : shares.Percent[answer] * shares.ScaleFactor;
}

void DrawBarChart(platform::Canvas& canvas, const BarChartShares& shares, bool ScaleToFull) {
    const int n = shares.AnswerCount;
    const int BarWidth = n >= 1 ? Round((450.0 - 20 * n) / n) : 0;
    ClearPicture(canvas, 1, 1);

    // Grid lines at 100, 75, 50 and 25 percent; the axis at y = 230 is 0, 1 percent 2 pixels.
    canvas.SetPen(QColor(kGridGrey), platform::PenStyle::Dotted);
    DrawLine(canvas, 14, 30, 480, 30);
    DrawLine(canvas, 10, 80, 480, 80);
    DrawLine(canvas, 14, 130, 480, 130);
    DrawLine(canvas, 10, 180, 480, 180);
    canvas.SetPen(Qt::black);
    DrawLine(canvas, 14, 30, 10, 30);
    canvas.LineTo(10, 230);
    canvas.LineTo(480, 230);
    DrawLine(canvas, 14, 130, 10, 130);

    DrawQuestionTitle(canvas, 10, shares.Question);

    for (int a = 1; a <= n; ++a) {
        const int X = 30 + (a - 1) * (BarWidth + 20);
        const double h = 2 * DisplayedPercent(shares, a, ScaleToFull);
        const double centre = X + BarWidth * 0.5;
        canvas.SetBrush(QColor(kSilver));
        canvas.SetFont({QStringLiteral("MS Sans Serif"), 8, false, false, Qt::black});
        CentredText(canvas, centre, 217 - Round(h), PercentLabel(shares.Percent[a]));
        canvas.Font().bold = true;
        CentredText(canvas, centre, 231, AnswerLetter(a));
        canvas.SetBrush(QColor(AnswerColours[a]));
        canvas.Rectangle(X, Round(230 - h), X + BarWidth, 231);
    }
}

void PrintBarChartBody(platform::Canvas& canvas, const BarChartShares& shares, bool ScaleToFull,
                       std::uint16_t H, std::uint16_t W) {
    const int n = shares.AnswerCount;
    const int Y100 = Round(0.1 * H), Y75 = Round(0.31 * H), Y50 = Round(0.52 * H);
    const int Y25 = Round(0.73 * H), Y0 = Round(0.94 * H);
    const int right = Round(0.95 * W);

    DrawPrintedGrid(canvas, {Y100, Y75, Y50, Y25, Y0}, right);

    if (n < 1) return;
    const int BarWidth = Round((0.9 * W - 0.02 * n * W) / n);
    for (int a = 1; a <= n; ++a) {
        const double Xa = 0.035 * W + (a - 1) * (0.02 * W + BarWidth);
        const double h = DisplayedPercent(shares, a, ScaleToFull) * 0.0084 * H;
        const double centre = Xa + 0.5 * BarWidth;
        canvas.SetPen(Qt::black);
        canvas.SetBrush(Qt::white);
        canvas.SetFont({QStringLiteral("times new roman"), 12, false, false, Qt::black});
        CentredText(canvas, centre, Round(0.94 * H - h) - canvas.TextHeight("13") - 2,
                    PercentLabel(shares.Percent[a]));
        canvas.Font().bold = true;
        canvas.Font().points = 14;
        CentredText(canvas, centre, Round(0.94 * H + 2), AnswerLetter(a));
        canvas.SetBrush(QColor(PrintAnswerColours[a]));
        canvas.Rectangle(Round(Xa), Round(0.94 * H - h), Round(Xa) + BarWidth, Y0);
    }
}

}  // namespace charts
