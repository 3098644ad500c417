// The stripe chart of one question: one stripe 500 pixels long cut into the answers' shares,
// with a legend row above it; drawn on a 530 x 230 picture or as the body of a landscape
// printer page.
#pragma once

#include <cstdint>

#include "charts/chart_drawing.h"

namespace platform {
class Canvas;
}

namespace charts {

// The screen picture: scale lines, axes, title, the stripe and the legend.
void DrawStripeChart(platform::Canvas& canvas, const AnswerShares& shares);

// The printout below the header, in fractions of the page measures H and W.
void PrintStripeChartBody(platform::Canvas& canvas, const AnswerShares& shares, std::uint16_t H,
                          std::uint16_t W);

}  // namespace charts
