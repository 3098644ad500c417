// The start-up benchmark: the program's start-up up to the launcher on screen against a bare
// window shown the same way, each a fresh process on the caller's screen (Xvfb, or the
// offscreen platform when there is no screen), and the resident memory of each once shown.
#include <benchmark/benchmark.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QTemporaryDir>
#include <chrono>
#include <cstdlib>
#include <string>

extern char** environ;

namespace {

struct ProbeRun {
    double seconds = 0;         // wall-clock time until the window was shown
    double processorSeconds = 0;  // the probe's own user and system time, which ends there
    long residentKilobytes = -1;  // -1: the probe failed
};

// Starts a probe and times it until it reports its window shown.
ProbeRun RunProbe(const char* program) {
    int pipeEnds[2];
    if (::pipe(pipeEnds) != 0) return {};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, pipeEnds[0]);
    char* arguments[] = {const_cast<char*>(program), nullptr};
    const auto start = std::chrono::steady_clock::now();
    pid_t child = 0;
    const int spawned = posix_spawn(&child, program, &actions, nullptr, arguments, environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(pipeEnds[1]);
    ProbeRun run;
    std::string report;
    char chunk[64];
    for (ssize_t got; spawned == 0 && (got = ::read(pipeEnds[0], chunk, sizeof chunk)) > 0;) {
        report.append(chunk, static_cast<std::size_t>(got));
        if (report.find('\n') != std::string::npos) break;
    }
    run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    ::close(pipeEnds[0]);
    int status = 0;
    rusage usage{};
    if (spawned == 0) ::wait4(child, &status, 0, &usage);
    run.processorSeconds = static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) * 1e-6;
    if (spawned == 0 && WIFEXITED(status) && WEXITSTATUS(status) == 0 && !report.empty()) {
        run.residentKilobytes = std::atol(report.c_str());
    }
    return run;
}

void BM_StartUpToLauncherAgainstBareWindow(benchmark::State& state) {
    // The probes' work folder lies in a folder of their own; without a screen they draw offscreen.
    static const QTemporaryDir dataHome;
    ::setenv("XDG_DATA_HOME", dataHome.path().toLocal8Bit().constData(), 1);
    if (!std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY")) {
        ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    }
    double launcherSeconds = 0, bareSeconds = 0, launcherProcessor = 0, bareProcessor = 0;
    double launcherKilobytes = 0, bareKilobytes = 0;
    for (auto _ : state) {
        const ProbeRun bare = RunProbe(BARE_WINDOW_PROBE);
        const ProbeRun launcher = RunProbe(LAUNCHER_SHOWN_PROBE);
        if (bare.residentKilobytes < 0 || launcher.residentKilobytes < 0) {
            state.SkipWithError("a probe did not show its window");
            break;
        }
        state.SetIterationTime(launcher.seconds);
        launcherSeconds += launcher.seconds;
        bareSeconds += bare.seconds;
        launcherProcessor += launcher.processorSeconds;
        bareProcessor += bare.processorSeconds;
        launcherKilobytes += static_cast<double>(launcher.residentKilobytes);
        bareKilobytes += static_cast<double>(bare.residentKilobytes);
    }
    const double runs = static_cast<double>(state.iterations());
    state.counters["ratio"] = launcherSeconds / bareSeconds;
    state.counters["floor_ms"] = bareSeconds * 1e3 / runs;
    // The same ratio of the probes' own processor time, steadier on a busy machine.
    state.counters["cpu_ratio"] = launcherProcessor / bareProcessor;
    state.counters["launcher_MB"] = launcherKilobytes / 1024 / runs;
    state.counters["bare_MB"] = bareKilobytes / 1024 / runs;
}
BENCHMARK(BM_StartUpToLauncherAgainstBareWindow)
    ->UseManualTime()
    ->Iterations(10)
    ->Unit(benchmark::kMillisecond);

}  // namespace
