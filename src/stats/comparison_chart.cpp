// Drawing the comparison of the channels on the screen picture and on the printer page.
#include "stats/comparison_chart.h"

#include <algorithm>

#include "charts/chart_reading.h"
#include "platform/canvas.h"
#include "platform/encoding.h"
#include "platform/round.h"

namespace stats {

using charts::CentredText;
using charts::DrawLine;
using platform::Round;

namespace {

const QColor kSilver(charts::kSilver);

// The bar height in percent of the axis.
double Displayed(const ComparisonValues& values, int channel, int answer, bool scaleToFull) {
    const double percent = values.Percent[channel][answer];
    return scaleToFull ? percent : percent * values.ScaleFactor;
}

QByteArray ValueLabel(double percent) { return QByteArray::number(charts::ShownPercent(percent)); }

}  // namespace

ComparisonValues ComputeComparison(const ChannelStore& store, const ChannelLooks& looks,
                                   charts::PercentBase base) {
    ComparisonValues values;
    const int q = store.ShownQuestion;
    const int n = store.ShownAnswerCount();
    for (int K = 1; K <= kChannels; ++K) {
        if (!looks[K].SwitchedOn) continue;
        const Channel& channel = store.Channels[K];
        if (n > 0) {
            values.Percent[K] =
                charts::SharesOf(channel.AnswerTally[q], n, channel.RespondentCount, base);
        }
        for (int a = 1; a <= n; ++a) {
            values.MaxPercent = std::max(values.MaxPercent, values.Percent[K][a]);
        }
        ++values.ActiveChannelCount;
    }
    values.ScaleFactor = values.MaxPercent > 0 ? 100 / values.MaxPercent : 0;
    return values;
}

void DrawComparison(platform::Canvas& canvas, const ChannelStore& store,
                    const ComparisonValues& values, const ChannelLooks& looks, bool scaleToFull) {
    const int n = store.ShownAnswerCount();
    const int Act = values.ActiveChannelCount;
    // A question without answers or a drawing without channels has no bars to size.
    const int BarWidth = n > 0 && Act > 0 ? Round((730.0 - 20 * n) / (n * Act)) : 0;

    canvas.SetBrush(kSilver);
    canvas.SetPen(kSilver);
    charts::ClearPicture(canvas, 1, 1);

    // Grid lines at 100, 75, 50 and 25 percent; the base line at y = 310 is 0, 1 percent 2.8.
    canvas.SetPen(QColor(charts::kGridGrey), platform::PenStyle::Dotted);
    for (const int y : {30, 100, 170, 240}) DrawLine(canvas, 10, y, 750, y);
    canvas.SetPen(Qt::black);
    DrawLine(canvas, 14, 30, 10, 30);
    canvas.LineTo(10, 310);
    canvas.LineTo(750, 310);
    DrawLine(canvas, 14, 170, 10, 170);

    canvas.SetFont({QStringLiteral("MS Sans Serif"), 10, true, true, Qt::black});
    canvas.TextOut(
        10, 0,
        "Ankieta: " + store.SurveyName + ", Pytanie nr " + QByteArray::number(store.ShownQuestion));
    canvas.SetFont({QStringLiteral("MS Sans Serif"), 8, true, false, Qt::black});
    canvas.TextOut(740, 10, "w %");
    const int groupWidth = BarWidth * Act;
    for (int a = 1; a <= n; ++a) {
        CentredText(canvas, (groupWidth + 20) * (a - 1) + 30 + groupWidth * 0.5, 311,
                    charts::AnswerLetter(a));
    }

    int GroupLeft = 30;
    canvas.SetFont({QStringLiteral("MS Sans Serif"), 5, false, false, Qt::black});
    for (int K = 1; K <= kChannels && BarWidth > 0; ++K) {
        if (!looks[K].SwitchedOn) continue;
        for (int a = 1; a <= n; ++a) {
            const int x1 = (groupWidth + 20) * (a - 1) + GroupLeft;
            const double h = Displayed(values, K, a, scaleToFull) * 2.8;
            canvas.SetBrush(looks[K].Colour);
            canvas.Rectangle(x1, Round(310 - h), x1 + BarWidth, 311);
            canvas.SetBrush(kSilver);
            canvas.Font().colour = looks[K].Colour;
            CentredText(canvas, x1 + BarWidth * 0.5, 297 - Round(h),
                        ValueLabel(values.Percent[K][a]));
        }
        // The next channel's bars share their left outline with this one's right.
        GroupLeft += BarWidth - 1;
    }
    canvas.Font().colour = Qt::black;
    canvas.SetBrush(kSilver);
}

platform::Reading ReadComparison(const ChannelStore& store, const ComparisonValues& values,
                                 const ChannelLooks& looks, charts::PercentBase base) {
    platform::Reading reading;
    if (values.ActiveChannelCount == 0) {
        reading.name = QStringLiteral("Wykres porównawczy: żaden kanał nie jest włączony");
        return reading;
    }
    const int q = store.ShownQuestion;
    reading.name = QStringLiteral("Wykres porównawczy, ") +
                   charts::QuestionOfReading(q, store.QuestionCount);
    reading.description = base == charts::PercentBase::Answers
                              ? QStringLiteral("procent z odpowiedzi w każdym kanale")
                              : QStringLiteral("procent z ankietowanych w każdym kanale");
    // As the groups stand on the picture: answer by answer, each with the bars of its channels.
    for (int a = 1; a <= store.ShownAnswerCount(); ++a) {
        for (int K = 1; K <= kChannels; ++K) {
            if (!looks[K].SwitchedOn) continue;
            const QString channel =
                QStringLiteral("kanał %1 (%2)").arg(K).arg(platform::FromCodePage(looks[K].Label));
            reading.items << charts::AnswerReading(a, values.Percent[K][a],
                                                   store.Channels[K].AnswerTally[q][a], channel);
        }
    }
    return reading;
}

QByteArray ComparisonHeader(const ChannelStore& store) {
    return "Ankieta: " + store.SurveyName + ", Pytanie nr " +
           QByteArray::number(store.ShownQuestion);
}

void PrintComparisonBody(platform::Canvas& canvas, const ChannelStore& store,
                         const ComparisonValues& values, const ChannelLooks& looks,
                         bool scaleToFull, std::uint16_t H, std::uint16_t W) {
    const int n = store.ShownAnswerCount();
    const int Act = values.ActiveChannelCount;
    const int Y100 = Round(0.18 * H), Y75 = Round(0.37 * H), Y50 = Round(0.56 * H);
    const int Y25 = Round(0.75 * H), Y0 = Round(0.94 * H);
    const int right = Round(0.95 * W);

    canvas.Font().underline = false;
    charts::DrawPrintedGrid(canvas, {Y100, Y75, Y50, Y25, Y0}, right);

    // Printed before any drawing, or for a question without answers: no bars to size.
    const int BarWidth = n > 0 && Act > 0 ? Round((0.92 * W - n * 0.03 * W) / (n * Act)) : 0;
    const int groupWidth = BarWidth * Act;
    for (int a = 1; a <= n; ++a) {
        CentredText(canvas, 0.03 * W + (0.03 * W + groupWidth) * (a - 1) + groupWidth * 0.5,
                    Round(0.942 * H), charts::AnswerLetter(a));
    }

    int GroupLeft = Round(0.03 * W);
    const int pitch = Round(0.03 * W + groupWidth);
    const int legendTop = Round(0.08 * H);
    struct LegendPlace {
        int L, R, T;
    };
    const std::array<LegendPlace, kChannels + 1> legend{{
        {},
        {10, Round(0.06 * W) + 10, Round(0.062 * W) + 10},
        {Round(0.33 * W) + 10, Round(0.39 * W) + 10, Round(0.392 * W) + 10},
        {Round(0.66 * W) + 10, Round(0.72 * W) + 10, Round(0.722 * W) + 10},
    }};
    for (int K = 1; K <= kChannels && BarWidth > 0; ++K) {
        if (!looks[K].SwitchedOn) continue;
        const double s = scaleToFull ? 1 : values.ScaleFactor;
        for (int a = 1; a <= n; ++a) {
            const double top = 0.94 * H - values.Percent[K][a] * 0.0076 * H * s;
            const int x1 = pitch * (a - 1) + GroupLeft;
            canvas.SetBrush(looks[K].Colour);
            canvas.Rectangle(x1, Round(top), x1 + BarWidth, Y0);
            canvas.SetBrush(Qt::white);
            canvas.SetFont({QStringLiteral("times new roman"), 12, false, false, Qt::black});
            const QByteArray label = ValueLabel(values.Percent[K][a]);
            CentredText(canvas, x1 + BarWidth * 0.5, Round(top - canvas.TextHeight(label) - 1),
                        label);
        }
        // The channel's legend: a box in its colour, then its label, black on white.
        canvas.SetBrush(looks[K].Colour);
        canvas.SetFont({QStringLiteral("times new roman"), 14, false, true, Qt::black});
        canvas.Rectangle(legend[K].L, legendTop, legend[K].R, legendTop + canvas.TextHeight("EE"));
        canvas.SetBrush(Qt::white);
        canvas.TextOut(legend[K].T, legendTop, looks[K].Label);
        GroupLeft += BarWidth - 1;
    }
}

}  // namespace stats
