// The event loop's pulse for the benchmarks of the classroom server: a 5 ms timer whose late
// ticks show how long the loop (the windows, the open charts) stood still.
#pragma once

#include <QElapsedTimer>
#include <QTimer>
#include <algorithm>

namespace bench {

class EventLoopPulse {
public:
    EventLoopPulse() {
        ticker_.setInterval(5);
        QObject::connect(&ticker_, &QTimer::timeout, [this] {
            longestStallMs_ = std::max(longestStallMs_, sinceTick_.nsecsElapsed() / 1e6 - 5);
            sinceTick_.restart();
        });
    }
    void Start() {
        sinceTick_.start();
        ticker_.start();
    }
    void Stop() { ticker_.stop(); }
    double LongestStallMs() const { return longestStallMs_; }

private:
    QElapsedTimer sinceTick_;
    QTimer ticker_;
    double longestStallMs_ = 0;
};

}  // namespace bench
