// The comparison chart of the statistics window: for every answer of the shown question a group
// of bars, one per channel switched on, drawn on the 777 x 333 picture or as the body of a
// landscape printer page.
#pragma once

#include <QByteArray>
#include <QColor>
#include <array>
#include <cstdint>

#include "charts/chart_drawing.h"
#include "platform/accessibility.h"
#include "stats/channel_store.h"

namespace platform {
class Canvas;
}

namespace stats {

// What the drawing and the printout take of each channel besides its counts: whether it is
// switched on, its colour and its label (Windows-1250).
struct ChannelLook {
    bool SwitchedOn = false;
    QColor Colour;
    QByteArray Label;
};
using ChannelLooks = std::array<ChannelLook, kChannels + 1>;  // channels 1..3; index 0 unused

// The values of a drawing, kept by the window so that its printout shows the same bars.
struct ComparisonValues {
    std::array<charts::Percentages, kChannels + 1> Percent{};  // by channel; only those on count
    double MaxPercent = 0;       // largest Percent of the channels switched on
    double ScaleFactor = 0;      // 100 / MaxPercent, or 0 when that is 0
    int ActiveChannelCount = 0;  // channels switched on
};

// The percentages of the shown question in every channel switched on, on the chosen base.
ComparisonValues ComputeComparison(const ChannelStore& store, const ChannelLooks& looks,
                                   charts::PercentBase base);

// The screen picture: grid, axes, title, "w %", letters and the bars with their value labels.
// With "Skala 100%" (scaleToFull) the axis spans 0 to 100 percent, otherwise the tallest bar
// fills it. A question without answers, or no channel switched on, draws the frame only.
void DrawComparison(platform::Canvas& canvas, const ChannelStore& store,
                    const ComparisonValues& values, const ChannelLooks& looks, bool scaleToFull);

// What a screen reader reads of the picture drawn from these values: one item per bar, from left
// to right ("A, kanał 1 (klasa1.): 30 %, 12 ankietowanych"); with no channel switched on, only
// the name saying so.
platform::Reading ReadComparison(const ChannelStore& store, const ComparisonValues& values,
                                 const ChannelLooks& looks, charts::PercentBase base);

// The printout header: "Ankieta: " + the survey name + ", Pytanie nr " + the shown question.
QByteArray ComparisonHeader(const ChannelStore& store);

// The printout below the header, in fractions of the page measures H and W, with the legend of
// each channel switched on.
void PrintComparisonBody(platform::Canvas& canvas, const ChannelStore& store,
                         const ComparisonValues& values, const ChannelLooks& looks,
                         bool scaleToFull, std::uint16_t H, std::uint16_t W);

}  // namespace stats
