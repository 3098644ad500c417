// What the results manager asks of a chart window it opens from its "Wykresy" menu.
#pragma once

#include <functional>

namespace results {

class ChartLink {
public:
    virtual ~ChartLink() = default;
    // Shows the window (its menu item has been disabled and its redraw requested already).
    virtual void OpenChart() = 0;
    // Closes the window; closing a window that is not open is harmless.
    virtual void CloseChart() = 0;
    // Asks for a redraw on the window's next timer tick.
    virtual void RequestRedraw() = 0;
    // Run when the window closes, so that the results manager enables its menu item again.
    std::function<void()> OnChartClosed;
};

}  // namespace results
