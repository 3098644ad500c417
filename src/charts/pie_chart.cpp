// Drawing the pie chart on the screen picture and on the printer page. Angles are in radians from
// the positive x axis and grow clockwise on the picture, as y grows downward; a sector from a to
// e (a < e) covers the angles clockwise from a. The canvas draws a sector counterclockwise from
// its first ray, so it is handed the ray at e first.
#include "charts/pie_chart.h"

#include <cmath>
#include <numbers>

#include "platform/canvas.h"
#include "platform/round.h"

namespace charts {
namespace {

using platform::Round;
using std::numbers::pi;

constexpr double kTenDegrees = 0.17453292519943295;

// The sweep of an answer's sector.
double Sweep(double percent) { return percent * pi * 0.02; }

}  // namespace

void DrawPieChart(platform::Canvas& canvas, const AnswerShares& shares) {
    const int n = shares.AnswerCount;
    const bool answered = shares.AnswerSum > 0;
    ClearPicture(canvas, 1, 1);
    DrawQuestionTitle(canvas, 0, shares.Question);
    canvas.SetPen(Qt::black);

    // The lower rim of the disc, centre (190, 165), radii 175 and 100.
    if (answered) canvas.Ellipse(15, 65, 365, 265);

    // Side bands: a line through the lower ellipse at each sector's end on the lower half, and
    // the strip right of it filled in the sector's colour.
    double a = -P;
    for (int i = 1; i <= n; ++i) {
        if (shares.Percent[i] <= 0) continue;
        a += Sweep(shares.Percent[i]);
        if (a <= 0 || !answered) continue;
        DrawLine(canvas, Round(190 + 175 * std::cos(a)), Round(165 + 99 * std::sin(a)),
             Round(190 + 175 * std::cos(-a)), Round(165 + 100 * std::sin(-a)));
        canvas.SetBrush(QColor(AnswerColours[i]));
        if (a > kTenDegrees && Round(shares.Percent[i]) > 0) {
            canvas.FloodFill(Round(190 + 175 * std::cos(a) + 1), 165, QColor(kSilver),
                             platform::FloodFillMode::Surface);
        }
    }

    // The left and right edges of the disc's side.
    canvas.SetBrush(QColor(kSilver));
    if (answered) {
        DrawLine(canvas, 15, 145, 15, 165);
        DrawLine(canvas, 364, 145, 364, 165);
    }

    // The upper face, centre (190, 145.5), radii 175 and 99.5, and the legend.
    const auto rim = [](double x) {
        return QPoint(Round(190 + 350 * std::cos(x)), Round(145 + 200 * std::sin(x)));
    };
    a = -P;
    for (int i = 1; i <= n; ++i) {
        canvas.SetBrush(QColor(AnswerColours[i]));
        if (shares.Percent[i] > 0 && answered) {
            const double e = a + Sweep(shares.Percent[i]);
            const QPoint from = rim(e), to = rim(a);
            canvas.Pie(15, 46, 365, 245, from.x(), from.y(), to.x(), to.y());
            a = e;
        }
        DrawLegendEntry(canvas, 390, 24 * i, 412, i, shares.Percent[i]);
    }
}

void PrintPieChartBody(platform::Canvas& canvas, const AnswerShares& shares, std::uint16_t H,
                       std::uint16_t W) {
    const int n = shares.AnswerCount;
    const bool answered = shares.AnswerSum > 0;
    const auto X = [W](double x) { return Round(0.45 * W + 0.4 * W * std::cos(x)); };
    const auto Yl = [H](double x) { return Round(0.55 * H + 0.4 * H * std::sin(x)); };
    const auto Yu = [H](double x) { return Round(0.5 * H + 0.4 * H * std::sin(x)); };
    const int left = Round(0.05 * W), right = Round(0.85 * W), middle = Round(0.45 * W);
    const int sideTop = Round(0.5 * H), sideBottom = Round(0.55 * H);

    // Axes and a dotted grid behind the disc.
    const int gridLeft = Round(0.02 * W), gridRight = Round(0.87 * W);
    const int gridTop = Round(0.08 * H), gridBottom = Round(0.98 * H);
    canvas.SetPen(Qt::black);
    DrawLine(canvas, gridLeft, gridTop, gridLeft, gridBottom);
    canvas.LineTo(gridRight, gridBottom);
    canvas.SetPen(Qt::black, platform::PenStyle::Dotted);
    for (int k = 1; k <= 8; ++k) {
        const int y = Round((0.1 * k + 0.08) * H);
        DrawLine(canvas, gridLeft, y, gridRight, y);
        const int x = Round((0.10625 * k + 0.02) * W);
        DrawLine(canvas, x, gridTop, x, gridBottom);
    }
    canvas.SetPen(Qt::black);

    // The lower rim.
    canvas.SetBrush(Qt::white);
    if (answered) canvas.Ellipse(left, Round(0.15 * H), right, Round(0.95 * H));

    // The legend, and the lower-rim sectors with the side rectangles, last answer first.
    double a = P;
    for (int i = n; i >= 1; --i) {
        canvas.SetFont({canvas.Font().face, 12, true, false, Qt::black});
        canvas.SetBrush(Qt::white);
        const double y = 0.15 * H + (i - 1) * 2 * canvas.TextHeight("E");
        const int letterWidth = canvas.TextWidth("E"), doubleWidth = canvas.TextWidth("EE");
        canvas.TextOut(Round(0.9 * W), Round(y), AnswerLetter(i));
        canvas.TextOut(Round(0.9 * W + doubleWidth), Round(y), " - " + PercentLabel(shares.Percent[i]));
        canvas.SetBrush(QColor(PrintAnswerColours[i]));
        canvas.Rectangle(Round(0.9 * W + letterWidth), Round(y), Round(0.9 * W + doubleWidth),
                         Round(y + canvas.TextHeight("E")));
        if (shares.Percent[i] > 0 && a > 0 && answered) {
            const double e = a - Sweep(shares.Percent[i]);
            canvas.Pie(left, Round(0.15 * H), right, Round(0.95 * H), X(a), Yl(a), X(e), Yl(e));
            if (a > pi / 2) canvas.FillRect(X(a), sideTop, middle, Yl(a) - 1);
            if (e < 0) canvas.FillRect(Round(0.5 * W), sideTop, right, sideBottom);
            a = e;
        }
    }

    // The right front band, for sectors ending on the right of the lower half.
    a = -P;
    for (int i = 1; i <= n - 1; ++i) {
        a += Sweep(shares.Percent[i]);
        if (shares.Percent[i + 1] > 0 && answered && a > 0 && a < pi / 2) {
            canvas.SetBrush(QColor(PrintAnswerColours[i + 1]));
            canvas.FillRect(middle, sideTop, X(a) - 1, Yl(a) - 1);
        }
    }

    if (!answered) return;
    // The left and right edges of the side, then the upper face with the boundaries between
    // the answers on the side.
    canvas.SetBrush(Qt::white);
    DrawLine(canvas, left, sideTop, left, sideBottom);
    DrawLine(canvas, right, sideTop, right, sideBottom);
    a = P;
    for (int i = n; i >= 1; --i) {
        canvas.SetBrush(QColor(PrintAnswerColours[i]));
        if (shares.Percent[i] <= 0) continue;
        const double e = a - Sweep(shares.Percent[i]);
        canvas.Pie(left, Round(0.1 * H), right, Round(0.9 * H), X(a), Yu(a), X(e), Yu(e));
        a = e;
        if (e > 0 && e < pi) DrawLine(canvas, X(e), Yu(e), X(e), Yl(e));
    }
}

}  // namespace charts
