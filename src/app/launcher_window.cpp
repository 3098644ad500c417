// The launcher window.
#include "app/launcher_window.h"

#include <QCoreApplication>

#include "app/program.h"
#include "platform/fonts.h"

namespace app {

TForm0::TForm0(platform::Dialogs& dialogs, Program& program)
    : Form(dialogs, QStringLiteral("Które z narzędzi uruchomić?"), QSize(271, 105),
           platform::BorderStyle::Single),
      EndProgram([] { QCoreApplication::quit(); }),
      program_(program) {
    const QString face = QStringLiteral("MS Sans Serif");
    setFont(platform::ControlFont(face, 11));
    const auto addButton = [&](int y, const QString& caption) {
        QPushButton* button = AddButton(caption, {16, y, 241, 25});
        button->setFont(platform::ControlFont(face, 13, true));
        return button;
    };
    Button1 = addButton(8, QStringLiteral("Edytor Ankiet"));
    Button2 = addButton(40, QStringLiteral("Menedżer Wyników"));
    Button3 = addButton(72, QStringLiteral("Statystyki"));
    OnClick(Button1, [this] { program_.Form1->ShowEditor(); });
    OnClick(Button2, [this] { program_.Form3->ShowForm(); });
    OnClick(Button3, [this] { program_.Form7->ShowForm(); });
    CentreOnScreen();
}

void TForm0::FormShow() {
    // The redraw timers of the bar, pie and stripe charts and of the statistics window stop
    // whenever the launcher comes back; the multi chart's timer keeps its state.
    program_.Form4->Timer1.stop();
    program_.Form5->Timer1.stop();
    program_.Form6->Timer1.stop();
    program_.Form7->Timer1.stop();
}

void TForm0::FormClose() {
    if (EndProgram) EndProgram();
}

}  // namespace app
