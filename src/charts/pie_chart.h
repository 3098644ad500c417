// The pie chart of one question: a disc seen at a slant, its sectors on the upper face and a band
// in each sector's colour on the front side, with a legend of letters, colours and shares; drawn
// on a 441 x 275 picture or as the body of a landscape printer page.
#pragma once

#include <cstdint>

#include "charts/chart_drawing.h"

namespace platform {
class Canvas;
}

namespace charts {

// The angle the sectors start from, at the left edge of the disc: a hair less than pi, so that
// the boundary after exactly half the circle lies just right of 0 counting up from -P and just
// left of it counting down from P.
constexpr double P = 3.1415926535883045;

// The screen picture: title, lower rim with the side bands, the upper face and the legend.
void DrawPieChart(platform::Canvas& canvas, const AnswerShares& shares);

// The printout below the header, in fractions of the page measures H and W.
void PrintPieChartBody(platform::Canvas& canvas, const AnswerShares& shares, std::uint16_t H,
                       std::uint16_t W);

}  // namespace charts
