// The program's entry: the application object, the start-up, the launcher, the loop.
#include <QApplication>

#include "app/start_up.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    app::StartUp startUp;
    startUp.program.Form0->ShowForm();
    return application.exec();
}
