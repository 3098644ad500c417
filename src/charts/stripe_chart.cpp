// Drawing the stripe chart on the screen picture and on the printer page. Each answer's part is
// a rectangle from where the earlier answers' rounded lengths end to the stripe's end; the next
// answer's rectangle covers it from its own start, so the last answer always reaches the end.
#include "charts/stripe_chart.h"

#include "platform/canvas.h"
#include "platform/round.h"

namespace charts {
namespace {

using platform::Round;

// The answers' parts of the stripe from `start` to `end` (exclusive), `length` pixels for 100
// percent, between the rows top and bottom, filled with the given colours. Where rounding would
// start a part right of the stripe's end there is nothing left of the stripe for it.
void DrawStripe(platform::Canvas& canvas, const AnswerShares& shares, int start, int end,
                double length, int top, int bottom,
                const std::array<QRgb, results::kMaxAnswers + 1>& colours) {
    int StripeLeft = start;
    for (int i = 1; i <= shares.AnswerCount; ++i) {
        if (i > 1) StripeLeft += Round(shares.Percent[i - 1] * length * 0.01);
        canvas.SetBrush(QColor(colours[i]));
        if (StripeLeft < end) canvas.Rectangle(StripeLeft, top, end, bottom);
    }
}

}  // namespace

void DrawStripeChart(platform::Canvas& canvas, const AnswerShares& shares) {
    ClearPicture(canvas, 1, 1);
    // Scale lines at 100, 25, 50 and 75 percent of the stripe, then the axes.
    canvas.SetPen(QColor(kGridGrey), platform::PenStyle::Dotted);
    for (int x : {520, 145, 270, 395}) DrawLine(canvas, x, 60, x, 220);
    canvas.SetPen(Qt::black);
    DrawLine(canvas, 20, 60, 20, 220);
    canvas.LineTo(530, 220);
    DrawQuestionTitle(canvas, 0, shares.Question);

    if (shares.AnswerSum > 0) DrawStripe(canvas, shares, 20, 521, 500, 90, 200, AnswerColours);
    for (int i = 1; i <= shares.AnswerCount; ++i) {
        const int left = (i - 1) * 55 + 20;
        DrawLegendEntry(canvas, left, 30, left + 21, i, shares.Percent[i]);
    }
}

void PrintStripeChartBody(platform::Canvas& canvas, const AnswerShares& shares, std::uint16_t H,
                          std::uint16_t W) {
    const int n = shares.AnswerCount;
    const int left = Round(0.01 * W), top = Round(0.2 * H), bottom = Round(0.97 * H);
    canvas.SetPen(Qt::black);
    DrawLine(canvas, left, top, left, bottom);
    canvas.LineTo(Round(0.95 * W), bottom);
    canvas.SetPen(Qt::black, platform::PenStyle::Dotted);
    for (int k = 1; k <= 4; ++k) {
        const int x = Round((0.23 * k + 0.01) * W);
        DrawLine(canvas, x, top, x, bottom);
    }
    canvas.SetPen(Qt::black);

    if (shares.AnswerSum > 0) {
        DrawStripe(canvas, shares, left, Round(0.93 * W), 0.92 * W, Round(0.26 * H),
                   Round(0.92 * H), PrintAnswerColours);
    }
    // The legend: one row, the entries spread evenly over 0.891 W from 0.015 W.
    canvas.SetFont({canvas.Font().face, 12, false, false, Qt::black});
    const int row = Round(0.13 * H);
    for (int i = 1; i <= n; ++i) {
        const double LegendStep = 0.891 / n;
        const double x0 = LegendStep * W * (i - 1) + 0.015 * W;
        const double sampleLeft = x0 + canvas.TextWidth("E ");
        canvas.SetBrush(QColor(PrintAnswerColours[i]));
        canvas.Rectangle(Round(sampleLeft), row, Round(sampleLeft + 0.025 * W),
                         Round(0.13 * H + canvas.TextHeight("EE")));
        canvas.SetBrush(Qt::white);
        canvas.TextOut(Round(x0), row, AnswerLetter(i));
        canvas.TextOut(Round(sampleLeft + 0.025 * W), row, " - " + PercentLabel(shares.Percent[i]));
    }
}

}  // namespace charts
