// The face names the windows and charts ask for, and fonts of the windows' controls.
#pragma once

#include <QFont>
#include <QString>

namespace platform {

// Registers once, at start-up, the installed faces that stand in for "MS Sans Serif",
// "Times New Roman CE", "Arial CE" and "Times New Roman" (in any letter case).
void RegisterFontSubstitutes();

// A control font of the given face whose characters are `pixels` high.
QFont ControlFont(const QString& face, int pixels, bool bold = false);

}  // namespace platform
