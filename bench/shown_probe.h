// The end of a start-up probe: once the window is on screen (its first exposure has been painted
// and flushed), the probe writes its resident memory in kilobytes to standard output and ends.
#pragma once

#include <QApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <cstdio>
#include <fstream>
#include <unistd.h>

namespace bench {

inline long ResidentKilobytes() {
    long pages = 0, resident = 0;
    std::ifstream("/proc/self/statm") >> pages >> resident;
    return resident * (::sysconf(_SC_PAGESIZE) / 1024);
}

class ShownReporter : public QObject {
public:
    explicit ShownReporter(QWidget& window) : window_(window) {
        qApp->installEventFilter(this);
        // A window that never comes on screen ends the probe as a failure.
        QTimer::singleShot(20000, [] { std::_Exit(2); });
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        // The expose event paints and flushes the window before the event loop goes on.
        if (event->type() == QEvent::Expose && watched == window_.windowHandle() &&
            window_.windowHandle()->isExposed()) {
            QTimer::singleShot(0, [] {
                std::printf("%ld\n", ResidentKilobytes());
                std::fflush(stdout);
                std::_Exit(0);
            });
        }
        return false;
    }

private:
    QWidget& window_;
};

}  // namespace bench
