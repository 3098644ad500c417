// Timing a path against its floor: both run in turn in every iteration of one benchmark, so the
// ratio of their times holds even when other work on the machine slows both. Times are the
// thread's processor time (user and system), which other processes on a busy machine do not
// lengthen as they do the wall-clock time.
#pragma once

#include <benchmark/benchmark.h>

#include <ctime>
#include <functional>

namespace bench {

inline double ThreadSeconds() {
    timespec now{};
    ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

inline double SecondsOf(const std::function<void()>& work) {
    const double start = ThreadSeconds();
    work();
    return ThreadSeconds() - start;
}

// The benchmark's time is the path's (register with UseManualTime); the counters are the ratio
// path / floor and the floor's time per run in microseconds. `reset`, if any, runs untimed
// before each path.
inline void MeasureAgainstFloor(benchmark::State& state, const std::function<void()>& path,
                                const std::function<void()>& floor,
                                const std::function<void()>& reset = {}) {
    double pathSeconds = 0, floorSeconds = 0;
    for (auto _ : state) {
        if (reset) reset();
        const double pathTime = SecondsOf(path);
        floorSeconds += SecondsOf(floor);
        pathSeconds += pathTime;
        state.SetIterationTime(pathTime);
    }
    state.counters["ratio"] = pathSeconds / floorSeconds;
    state.counters["floor_us"] = floorSeconds * 1e6 / static_cast<double>(state.iterations());
}

}  // namespace bench
