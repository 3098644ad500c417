// The statistics window.
#include "stats/statistics_window.h"

#include "platform/fonts.h"

namespace stats {

TForm7::TForm7(platform::Dialogs& dialogs, platform::LauncherControl& launcher)
    : Form(dialogs, QStringLiteral("Statystyki..."), QSize(792, 400), platform::BorderStyle::Single),
      launcher_(launcher) {
    setFont(platform::ControlFont(QStringLiteral("MS Sans Serif"), 11));
    CentreOnScreen();
    Timer1.setInterval(100);
    connect(&Timer1, &QTimer::timeout, this, [this] { Handle([this] { Timer1Timer(); }); });
    Timer1.start();
}

void TForm7::FormShow() {
    Timer1.start();
    launcher_.HideLauncher();
}

void TForm7::FormClose() { launcher_.ShowLauncher(); }

}  // namespace stats
