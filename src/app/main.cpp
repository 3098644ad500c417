// The program's entry: the report command, or the application object, the start-up, the
// launcher and the loop.
#include <QApplication>
#include <cstring>

#include "app/start_up.h"
#include "report/report_command.h"

int main(int argc, char** argv) {
    if (argc > 1 && std::strcmp(argv[1], "raport") == 0) {
        // The report needs no screen: Qt draws and prints on its offscreen platform.
        qputenv("QT_QPA_PLATFORM", "offscreen");
        QGuiApplication application(argc, argv);
        return report::RunReportCommand(QGuiApplication::arguments().mid(2));
    }
    QApplication application(argc, argv);
    app::StartUp startUp;
    startUp.program.Form0->ShowForm();
    return application.exec();
}
