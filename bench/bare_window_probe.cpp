// The floor of start-up: a bare window of the launcher's size shown by an application object.
#include "shown_probe.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QWidget window;
    window.resize(271, 105);
    bench::ShownReporter reporter(window);
    window.show();
    return application.exec();
}
