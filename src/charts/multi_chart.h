// The multi chart: up to three questions side by side as groups of bars, one group per answer
// letter holding a bar for each series whose question has that answer; drawn on a 705 x 305
// picture or as the body of a landscape printer page.
#pragma once

#include <QColor>
#include <array>
#include <cstdint>

#include "charts/chart_drawing.h"

namespace platform {
class Canvas;
}

namespace charts {

// Per series 1..3 (index 0 unused).
template <typename T>
using PerSeries = std::array<T, 4>;

// The colours a series takes back with a right click, or instead of maroon.
inline const PerSeries<QColor> kDefaultSeriesColours{QColor(), QColor(0xFF0000), QColor(0x00FF00),
                                                     QColor(0x0000FF)};

// The values of one drawing, kept by the window so that its printout shows the same bars.
struct MultiChartValues {
    PerSeries<std::uint8_t> SeriesQuestion{};  // the questions the values are of
    PerSeries<int> AnswerCounts{};  // of each series' question
    PerSeries<std::int32_t> AnswerSum{};
    PerSeries<Percentages> SeriesValue{};
    int MaxAnswers = 0;  // the most answers among the three questions
    int BarCount = 0;    // the three questions' answers together
    int BarWidth = 0;    // on the picture
    double LargestValue = 0;
    double ScaleFactor = 0;  // 100 / LargestValue, or 0 when that is 0
};

MultiChartValues ComputeMultiValues(const results::ResultsTally& tally,
                                    const PerSeries<std::uint8_t>& SeriesQuestion, PercentBase base);

// The screen picture: grid, axes and the groups of bars with their values and letters.
void DrawMultiChart(platform::Canvas& canvas, const MultiChartValues& values,
                    const PerSeries<QColor>& SeriesColour, bool ScaleToFull);

// The printout below the header: grid, axes, the series legend and the groups of bars.
void PrintMultiChartBody(platform::Canvas& canvas, const MultiChartValues& values,
                         const PerSeries<std::uint8_t>& SeriesQuestion,
                         const PerSeries<QColor>& SeriesColour, bool ScaleToFull, std::uint16_t H,
                         std::uint16_t W);

}  // namespace charts
