// Font substitutes for the face names used by the windows, the charts and the printouts.
#include "platform/fonts.h"

#include <QStringList>

namespace platform {

void RegisterFontSubstitutes() {
    const QStringList sans{QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")};
    const QStringList serif{QStringLiteral("Liberation Serif"), QStringLiteral("DejaVu Serif")};
    // Substitutes are looked up without regard to letter case, so "times new roman" and
    // "Times new romaN" find the same entry.
    QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"), sans);
    QFont::insertSubstitutions(QStringLiteral("Arial CE"), sans);
    QFont::insertSubstitutions(QStringLiteral("Arial"), sans);
    QFont::insertSubstitutions(QStringLiteral("Times New Roman CE"), serif);
    QFont::insertSubstitutions(QStringLiteral("Times New Roman"), serif);
}

QFont ControlFont(const QString& face, int pixels, bool bold) {
    // Asked for by their stand-ins, faces with the same stand-ins share one loaded font.
    const QStringList substitutes = QFont::substitutes(face);
    QFont font(substitutes.isEmpty() ? QStringList{face} : substitutes);
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

}  // namespace platform
