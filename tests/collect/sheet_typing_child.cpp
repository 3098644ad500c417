// A program that types sheets in without end, as a user would in the typing window, for the test
// that kills it at any moment: results of 20 questions of four answers named "Ankieta", the
// recovery file in the folder given as the argument. Sheet n marks answer (n + q) % 4 + 1 of
// question q; after each added sheet its number is written to the standard output.
#include <QApplication>
#include <QDir>
#include <cstdio>
#include <cstdlib>

#include "collect/recovery_file.h"
#include "collect/sheet_entry_window.h"
#include "platform/printer.h"
#include "results/results_manager_window.h"

namespace {

// No box may open: one would mean the typing went wrong.
class NoDialogs : public platform::Dialogs {
public:
    void Notice(const QString& text) override { Fail(text); }
    bool Question(const QString& text) override { return Fail(text), false; }
    void Error(const QString& text) override { Fail(text); }
    QString OpenFileName(const platform::FileDialogOptions&) override { return Fail({}), QString(); }
    QString SaveFileName(const platform::FileDialogOptions&) override { return Fail({}), QString(); }
    QColor ChooseColour(QColor preset) override { return preset; }

private:
    static void Fail(const QString& text) {
        std::fprintf(stderr, "box: %s\n", text.toUtf8().constData());
        std::exit(2);
    }
};

class NoLauncher : public platform::LauncherControl {
public:
    void ShowLauncher() override {}
    void HideLauncher() override {}
};

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("offscreen"));
    QApplication application(argc, argv);
    if (argc != 2) return 1;
    NoDialogs dialogs;
    platform::SystemPrinter printer(dialogs);
    NoLauncher launcher;
    results::ResultsStore store;
    results::TForm3 manager(dialogs, printer, store, launcher);
    collect::RecoveryFile recovery(QString::fromLocal8Bit(argv[1]), store);
    recovery.Follow(manager);
    collect::SheetEntryWindow window(dialogs, manager, recovery);

    results::ResultsTally tally;
    tally.SurveyName = "Ankieta";
    tally.QuestionCount = 20;
    for (int q = 1; q <= 20; ++q) tally.AnswerCount[q] = 4;
    manager.TakeResults(tally, {"Ankieta"});
    window.OpenSheetEntry();
    for (int n = 1;; ++n) {
        for (int q = 1; q <= 20; ++q) {
            window.Key(Qt::Key_unknown, QString(QChar(u'a' + (n + q) % 4)));
            window.Key(Qt::Key_Return, QStringLiteral("\r"));
        }
        if (window.SheetsAdded() != n) return 3;
        std::printf("%d\n", n);
        std::fflush(stdout);
    }
}
