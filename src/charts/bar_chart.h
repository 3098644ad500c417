// The bar chart of one question: one vertical bar per answer, as high as the answer's share,
// drawn on a 500 x 250 picture or as the body of a landscape printer page.
#pragma once

#include <cstdint>

#include "charts/chart_drawing.h"

namespace platform {
class Canvas;
}

namespace charts {

// The values of one drawing, kept by the window so that its printout shows the same bars.
struct BarChartShares {
    int Question = 0;
    int AnswerCount = 0;
    Percentages Percent{};
    double ScaleFactor = 0;  // 100 / the largest Percent, or 0 when that is 0
};

BarChartShares ComputeBarShares(const results::ResultsTally& tally, int question, PercentBase base);

// The bar height in percent of the axis: the share itself on the 0..100 scale, otherwise
// scaled so that the tallest bar reaches the 100 line.
double DisplayedPercent(const BarChartShares& shares, int answer, bool ScaleToFull);

// The screen picture, 500 x 250 pixels: grid, axes, title and bars.
void DrawBarChart(platform::Canvas& canvas, const BarChartShares& shares, bool ScaleToFull);

// The printout below the header, in fractions of the page measures H and W.
void PrintBarChartBody(platform::Canvas& canvas, const BarChartShares& shares, bool ScaleToFull,
                       std::uint16_t H, std::uint16_t W);

}  // namespace charts
