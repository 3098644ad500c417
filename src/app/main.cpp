// The program's entry: the application object, its title and language, the windows, the loop.
#include <QApplication>

#include "app/program.h"
#include "platform/dialogs.h"
#include "platform/file_names.h"
#include "platform/fonts.h"
#include "platform/printer.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(platform::ApplicationTitle());
    QApplication::setQuitOnLastWindowClosed(false);

    // Qt's own dialogs speak Polish like the rest of the program.
    platform::InstallPolishDialogTexts();
    platform::RegisterFontSubstitutes();

    platform::QtDialogs dialogs;
    platform::SystemPrinter printer(dialogs);
    app::Program program(dialogs, printer, platform::WorkFilesDirectory());
    program.Form0->ShowForm();
    return application.exec();
}
