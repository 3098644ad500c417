// "narzedzia raport": the report made from the command line, with no screen needed.
#pragma once

#include <QStringList>

namespace report {

// Runs the command with the arguments that follow the word "raport" and returns its exit
// status: 0 the report is written; 1 it is written, but some files were refused; 2 bad usage,
// nothing could be read, or the report could not be written. Needs a Qt application object
// (the program makes one on Qt's offscreen platform).
int RunReportCommand(const QStringList& arguments);

// The command's help, in Polish.
QString ReportCommandHelp();

}  // namespace report
