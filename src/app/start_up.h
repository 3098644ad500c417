// The program as it starts: the application's title and language, the system's dialogs and
// printer, and the nine windows on the work folder. The application object must exist first.
#pragma once

#include "app/program.h"
#include "platform/dialogs.h"
#include "platform/printer.h"

namespace app {

struct StartUp {
    StartUp();

    platform::QtDialogs dialogs;
    platform::SystemPrinter printer;
    Program program;
};

}  // namespace app
