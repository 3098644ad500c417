// The start-up sequence up to the event loop.
#include "app/start_up.h"

#include <QApplication>

#include "platform/file_names.h"
#include "platform/fonts.h"

namespace app {
namespace {

// Runs before the windows are created: they take their texts and fonts from it.
QString PreparedWorkFolder() {
    QApplication::setApplicationName(platform::ApplicationTitle());
    QApplication::setQuitOnLastWindowClosed(false);
    // Qt's own dialogs speak Polish like the rest of the program.
    platform::InstallPolishDialogTexts();
    platform::RegisterFontSubstitutes();
    return platform::WorkFilesDirectory();
}

}  // namespace

StartUp::StartUp() : printer(dialogs), program(dialogs, printer, PreparedWorkFolder()) {}

}  // namespace app
