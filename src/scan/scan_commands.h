// The commands of paper sheets, run with no screen: "narzedzia arkusze" prints the sheets to
// tick into a PDF file, "narzedzia skany" reads their scans into results.
#pragma once

#include <QStringList>

namespace scan {

// Runs "arkusze" with the arguments after the word: 0 the sheets are written, 2 a wrong call or
// a survey or file that cannot be read or written. Needs a Qt application object.
int RunSheetsCommand(const QStringList& arguments);
QString SheetsCommandHelp();

// Runs "skany" with the arguments after the word: 0 every sheet went in, 1 some sheets or pages
// were left out (each named on standard error), 2 a wrong call or a file that cannot be read or
// written. Needs a Qt application object.
int RunScansCommand(const QStringList& arguments);
QString ScansCommandHelp();

}  // namespace scan
