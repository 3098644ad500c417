// The program's entry: the command line, then the application object, the start-up, the first
// window, the loop.
#include <QApplication>

#include "app/command_line.h"
#include "app/start_up.h"

int main(int argc, char** argv) {
    const app::CommandLine command = app::ParseCommandLine(app::ArgumentList(argc, argv));
    if (command.action == app::CommandLine::Action::Report) {
        app::PrintError(QStringLiteral("narzedzia: polecenie „raport” nie jest jeszcze dostępne."));
        return app::kUsageErrorStatus;
    }
    if (const std::optional<int> status = app::AnswerWithoutWindows(command)) return *status;
    QApplication application(argc, argv);
    app::StartUp startUp;
    app::ShowFirstWindow(startUp.program, command);
    return application.exec();
}
