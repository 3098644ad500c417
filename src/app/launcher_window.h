// The launcher: the program's main window, offering the three tools.
#pragma once

#include <QPushButton>
#include <functional>

#include "platform/form.h"

namespace app {

struct Program;

class TForm0 : public platform::Form, public platform::LauncherControl {
    Q_OBJECT
public:
    TForm0(platform::Dialogs& dialogs, Program& program);

    void ShowLauncher() override { ShowForm(); }
    void HideLauncher() override { hide(); }

    QPushButton* Button1;  // "Edytor Ankiet"
    QPushButton* Button2;  // "Menedżer Wyników"
    QPushButton* Button3;  // "Statystyki"

    // What closing the launcher does: it ends the program.
    std::function<void()> EndProgram;

protected:
    void FormShow() override;
    void FormClose() override;

private:
    Program& program_;
};

}  // namespace app
