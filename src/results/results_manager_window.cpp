// The results manager window and the survey text window.
#include "results/results_manager_window.h"

#include "platform/fonts.h"

namespace results {

TForm3::TForm3(platform::Dialogs& dialogs, platform::Printer& printer, ResultsStore& store,
               platform::LauncherControl& launcher)
    : Form(dialogs, QStringLiteral("Menedżer wyników"), QSize(485, 311), platform::BorderStyle::Single),
      printer_(printer),
      store_(store),
      launcher_(launcher) {
    setFont(platform::ControlFont(QStringLiteral("MS Sans Serif"), 11));
    PlaceAt(2, 93);
}

void TForm3::FormShow() { launcher_.HideLauncher(); }

void TForm3::FormClose() { launcher_.ShowLauncher(); }

TForm8::TForm8(platform::Dialogs& dialogs, platform::Printer& printer, ResultsStore& store)
    : Form(dialogs, QStringLiteral("Treść ankiety..."), QSize(417, 405), platform::BorderStyle::Dialog),
      printer_(printer),
      store_(store) {
    setFont(platform::ControlFont(QStringLiteral("MS Sans Serif"), 11));
    PlaceAt(377, 56);
}

}  // namespace results
