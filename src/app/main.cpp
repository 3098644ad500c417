// The program's entry: the open-file limit raised, the command line (the report needs no
// window), then the application object, the start-up, the first window, the loop.
#include <QApplication>

#include "app/command_line.h"
#include "app/start_up.h"
#include "platform/fonts.h"
#include "platform/process_limits.h"
#include "report/report_command.h"
#include "scan/scan_commands.h"

int main(int argc, char** argv) {
    // Every connection of answer collection takes a file: the soft limit is no limit of ours.
    platform::RaiseOpenFileLimit();
    const app::CommandLine command = app::ParseCommandLine(app::ArgumentList(argc, argv));
    using Action = app::CommandLine::Action;
    if (command.action == Action::Report || command.action == Action::Sheets) {
        // The commands need no screen: Qt draws and prints on its offscreen platform.
        qputenv("QT_QPA_PLATFORM", "offscreen");
        QGuiApplication application(argc, argv);
        // The charts' faces resolve to the fonts the windows draw them with.
        platform::RegisterFontSubstitutes();
        if (command.action == Action::Sheets) return scan::RunSheetsCommand(command.arguments);
        return report::RunReportCommand(command.arguments);
    }
    if (const std::optional<int> status = app::AnswerWithoutWindows(command)) return *status;
    QApplication application(argc, argv);
    app::StartUp startUp;
    app::ShowFirstWindow(startUp.program, command);
    return application.exec();
}
