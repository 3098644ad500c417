// How far a long piece of work has come, and whether the user asked to stop it: a progress box
// in the windows, lines on the terminal for the command line, nothing at all in tests.
#pragma once

#include <QString>

namespace platform {

class Progress {
public:
    virtual ~Progress() = default;
    // `done` of `total` steps are finished; false once the user asked to stop.
    virtual bool Advance(int done, int total) = 0;
};

// Work that nobody watches and nobody stops.
class SilentProgress : public Progress {
public:
    bool Advance(int, int) override { return true; }
};

// The command line's progress: "<what>: done/total" rewritten in place on standard error, only
// when standard error is a terminal; a finished line is ended with a line feed.
class TerminalProgress : public Progress {
public:
    explicit TerminalProgress(QString what);
    ~TerminalProgress() override;
    bool Advance(int done, int total) override;

private:
    QString what_;
    bool terminal_ = false;
    bool lineOpen_ = false;
    int lastPercent_ = -1;
};

}  // namespace platform
