// Drawing benchmarks: clearing a picture by flood fill against filling it outright, and the
// redraws of every chart as its window's timer tick draws it, nine answers each.
#include <benchmark/benchmark.h>

#include <QImage>
#include <array>

#include "against_floor.h"
#include "chart_inputs.h"
#include "charts/bar_chart.h"
#include "charts/chart_drawing.h"
#include "charts/multi_chart.h"
#include "charts/pie_chart.h"
#include "charts/stripe_chart.h"
#include "platform/canvas.h"
#include "stats/comparison_chart.h"

namespace {

// What a picture holds before it is cleared: a drawing on silver with bars, dotted grid lines
// and a diagonal, so that the fill meets many runs and obstacles.
QImage DrawnPicture(int width, int height) {
    QImage picture(width, height, QImage::Format_RGB32);
    picture.fill(QColor(charts::kSilver));
    platform::Canvas canvas(picture);
    canvas.SetPen(QColor(charts::kGridGrey), platform::PenStyle::Dotted);
    for (int y = 30; y < height; y += 50) {
        canvas.MoveTo(10, y);
        canvas.LineTo(width - 20, y);
    }
    canvas.SetPen(Qt::black);
    canvas.MoveTo(0, height - 1);
    canvas.LineTo(width / 2, 0);
    for (int a = 1; a <= 9; ++a) {
        canvas.SetBrush(QColor(charts::AnswerColours[a]));
        const int x = 30 + (a - 1) * (width - 60) / 9;
        canvas.Rectangle(x, height / 3 + 10 * a, x + 40, height - 20);
    }
    return picture;
}

void BM_ClearPictureAgainstFill(benchmark::State& state) {
    const QImage drawn = DrawnPicture(777, 333);
    QImage picture = drawn;
    platform::Canvas canvas(picture);
    QImage floorPicture = drawn;
    bench::MeasureAgainstFloor(
        state, [&] { charts::ClearPicture(canvas, 1, 1); },
        [&] { floorPicture.fill(QColor(charts::kSilver)); },
        [&] {
            // Back to the drawing, in place, so the canvas keeps its picture.
            std::copy_n(drawn.constBits(), drawn.sizeInBytes(), picture.bits());
        });
}
BENCHMARK(BM_ClearPictureAgainstFill)->UseManualTime()->Unit(benchmark::kMicrosecond);

// Seconds per redraw / 0.001 s: the redraw's share of the 100 ms tick, in percent.
void ReportShareOfTick(benchmark::State& state) {
    state.counters["percent_of_tick"] = benchmark::Counter(
        0.001, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

// Times one redraw of a picture of the given size, as the chart window's timer tick makes it.
template <typename Draw>
void MeasureRedraw(benchmark::State& state, QSize size, Draw draw) {
    QImage picture(size, QImage::Format_RGB32);
    picture.fill(QColor(charts::kSilver));
    for (auto _ : state) {
        platform::Canvas canvas(picture);
        draw(canvas);
    }
    benchmark::DoNotOptimize(picture.constBits());
    ReportShareOfTick(state);
}

void BM_BarChartRedrawNineAnswers(benchmark::State& state) {
    const results::ResultsTally tally = bench::NineAnswerTally();
    MeasureRedraw(state, {500, 250}, [&](platform::Canvas& canvas) {
        charts::DrawBarChart(canvas, charts::ComputeBarShares(tally, 1, charts::PercentBase::Respondents),
                             false);
    });
}
BENCHMARK(BM_BarChartRedrawNineAnswers)->Unit(benchmark::kMicrosecond);

void BM_PieChartRedrawNineAnswers(benchmark::State& state) {
    const results::ResultsTally tally = bench::NineAnswerTally();
    MeasureRedraw(state, {441, 275}, [&](platform::Canvas& canvas) {
        charts::DrawPieChart(canvas, charts::AnswerSharesOf(tally, 1));
    });
}
BENCHMARK(BM_PieChartRedrawNineAnswers)->Unit(benchmark::kMicrosecond);

void BM_StripeChartRedrawNineAnswers(benchmark::State& state) {
    const results::ResultsTally tally = bench::NineAnswerTally();
    MeasureRedraw(state, {530, 230}, [&](platform::Canvas& canvas) {
        charts::DrawStripeChart(canvas, charts::AnswerSharesOf(tally, 1));
    });
}
BENCHMARK(BM_StripeChartRedrawNineAnswers)->Unit(benchmark::kMicrosecond);

void BM_MultiChartRedrawThreeQuestionsOfNineAnswers(benchmark::State& state) {
    const results::ResultsTally tally = bench::NineAnswerTally();
    MeasureRedraw(state, {705, 305}, [&](platform::Canvas& canvas) {
        charts::DrawMultiChart(
            canvas, charts::ComputeMultiValues(tally, {0, 1, 2, 3}, charts::PercentBase::Respondents),
            charts::kDefaultSeriesColours, false);
    });
}
BENCHMARK(BM_MultiChartRedrawThreeQuestionsOfNineAnswers)->Unit(benchmark::kMicrosecond);

void BM_ComparisonChartRedrawNineAnswersThreeChannels(benchmark::State& state) {
    const bench::ThreeChannels channels;
    const stats::ChannelStore& store = channels.store;
    const stats::ChannelLooks& looks = channels.looks;
    MeasureRedraw(state, {777, 333}, [&](platform::Canvas& canvas) {
        const stats::ComparisonValues values =
            stats::ComputeComparison(store, looks, charts::PercentBase::Respondents);
        stats::DrawComparison(canvas, store, values, looks, false);
    });
}
BENCHMARK(BM_ComparisonChartRedrawNineAnswersThreeChannels)->Unit(benchmark::kMicrosecond);

}  // namespace
