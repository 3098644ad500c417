// The program's command line: what it asks for, read before any window exists, and the texts of
// "--help" and "--version".
#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace app {

// The exit status of a command line that cannot be carried out.
constexpr int kUsageErrorStatus = 2;

struct CommandLine {
    enum class Action {
        StartLauncher,  // no arguments: the launcher, as always
        OpenResults,    // results files for the results manager, in the order given
        OpenSurvey,     // one survey file for the survey editor
        Report,         // "raport" and the report's own arguments, without a window
        Sheets,         // "arkusze": sheets to tick into a PDF file, without a window
        PrintVersion,
        PrintHelp,
        Refuse,  // bad usage: `message` on standard error, exit status 2, nothing started
    };
    Action action = Action::StartLauncher;
    QStringList arguments;  // the files to open, or what follows the command's word
    QString message;        // why the command line is refused
};

// The arguments after the program's name, as the system gave them.
QStringList ArgumentList(int argc, char** argv);
// What the arguments ask for. Files to open must exist and be results files (.wyn) or one
// survey file (.ank), known by the extension or, without either, by the first line;
// "--" ends the options, so that a file may begin with "-".
CommandLine ParseCommandLine(const QStringList& arguments);

QString HelpText();
QString VersionText();

// Answers what needs no window (help, version, a refusal) on the standard output or error and
// gives the exit status; nothing when the windows are to start.
std::optional<int> AnswerWithoutWindows(const CommandLine& command);
// One line on the standard error.
void PrintError(const QString& line);

}  // namespace app
