// The whole program on a temporary folder, its work files' folder and the current directory,
// answered by scripted dialogs and printing on a recording printer, with its launcher shown.
// For the tests that link the app library.
#pragma once

#include <QApplication>
#include <QDir>

#include "app/program.h"
#include "support/recording_printer.h"
#include "support/scripted_dialogs.h"
#include "support/temp_folder.h"

namespace testing_support {

struct ProgramOnFolder {
    // The printer's pages are `landscapePage` printer pixels at `dotsPerInch`.
    explicit ProgramOnFolder(QSize landscapePage = QSize(3200, 2300), int dotsPerInch = 300)
        : printer(landscapePage, dotsPerInch),
          previousDir(QDir::currentPath()),
          program(dialogs, printer, folder.path()) {
        QDir::setCurrent(folder.path());
        program.Form0->EndProgram = [] {};
        program.Form0->ShowForm();
    }
    ~ProgramOnFolder() {
        program.Form0->EndProgram = nullptr;
        for (QWidget* window : QApplication::topLevelWidgets()) window->hide();
        QDir::setCurrent(previousDir);
    }

    TempFolder folder;
    ScriptedDialogs dialogs;
    RecordingPrinter printer;
    QString previousDir;
    app::Program program;
};

}  // namespace testing_support
