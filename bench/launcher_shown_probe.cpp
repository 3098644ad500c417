// The program's start-up up to the launcher on screen, as main starts it.
#include "app/start_up.h"
#include "shown_probe.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    app::StartUp startUp;
    bench::ShownReporter reporter(*startUp.program.Form0);
    startUp.program.Form0->ShowForm();
    return application.exec();
}
