// The chart windows' shared frame and their captions, sizes and places on the screen.
#include "charts/chart_windows.h"

#include "platform/fonts.h"

namespace charts {

ChartWindow::ChartWindow(platform::Dialogs& dialogs, const QString& caption, QSize clientSize,
                         int left, int top)
    : Form(dialogs, caption, clientSize, platform::BorderStyle::Dialog) {
    setFont(platform::ControlFont(QStringLiteral("MS Sans Serif"), 11));
    PlaceAt(left, top);
    Timer1.setInterval(100);
    connect(&Timer1, &QTimer::timeout, this, [this] { Handle([this] { Timer1Timer(); }); });
    Timer1.start();
}

void ChartWindow::FormShow() { Timer1.start(); }

void ChartWindow::FormClose() {
    if (OnChartClosed) OnChartClosed();
    Timer1.stop();
}

TForm4::TForm4(platform::Dialogs& dialogs)
    : ChartWindow(dialogs, QStringLiteral("Wykres słupkowy..."), QSize(602, 291), 185, 1) {}

TForm5::TForm5(platform::Dialogs& dialogs)
    : ChartWindow(dialogs, QStringLiteral("Wykres kołowy..."), QSize(542, 314), 2, 1) {}

TForm6::TForm6(platform::Dialogs& dialogs)
    : ChartWindow(dialogs, QStringLiteral("Wykres paskowy..."), QSize(632, 276), 61, 259) {}

TForm9::TForm9(platform::Dialogs& dialogs)
    : ChartWindow(dialogs, QStringLiteral("Multi..."), QSize(736, 381), 39, 161) {}

}  // namespace charts
