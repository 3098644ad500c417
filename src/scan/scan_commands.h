// The commands of paper sheets, run with no screen: "narzedzia arkusze" prints the sheets to
// tick into a PDF file.
#pragma once

#include <QStringList>

namespace scan {

// Runs "arkusze" with the arguments after the word: 0 the sheets are written, 2 a wrong call or
// a survey or file that cannot be read or written. Needs a Qt application object.
int RunSheetsCommand(const QStringList& arguments);
QString SheetsCommandHelp();

}  // namespace scan
