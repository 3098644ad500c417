// The terminal's progress line.
#include "platform/progress.h"

#include <unistd.h>

#include <cstdio>

namespace platform {

TerminalProgress::TerminalProgress(QString what)
    : what_(std::move(what)), terminal_(::isatty(STDERR_FILENO) == 1) {}

TerminalProgress::~TerminalProgress() {
    if (lineOpen_) std::fputc('\n', stderr);
}

bool TerminalProgress::Advance(int done, int total) {
    if (!terminal_ || total <= 0) return true;
    // Rewritten only when the percentage changes, so that a fast report is not slowed by it.
    const int percent = static_cast<int>(100LL * done / total);
    if (percent == lastPercent_) return true;
    lastPercent_ = percent;
    std::fprintf(stderr, "\r%s: %d/%d (%d%%)", what_.toLocal8Bit().constData(), done, total,
                 percent);
    std::fflush(stderr);
    lineOpen_ = true;
    return true;
}

}  // namespace platform
