// Typing sheets in: every key press of the typing window, from the key to the window painted
// anew, with the largest questionnaire loaded (250 questions of nine answers, every line of its
// survey file full). The Enter after the last question also adds the sheet to the results
// manager's table and writes the recovery file (about 370 KB). Times are the thread's processor
// time per key press; the wall-clock times beside them include what other work on the machine
// takes from it.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <algorithm>
#include <chrono>

#include "against_floor.h"
#include "collect/new_results.h"
#include "collect/recovery_file.h"
#include "collect/sheet_entry_window.h"
#include "large_files.h"
#include "platform/encoding.h"
#include "platform/printer.h"
#include "results/results_manager_window.h"

namespace {

struct Timing {
    double processor = 0;  // the thread's processor time, which a busy machine does not lengthen
    double wall = 0;
};

Timing Press(QWidget& window, Qt::Key key, const QString& text) {
    const auto start = std::chrono::steady_clock::now();
    const double processor = bench::SecondsOf([&] {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
        QApplication::sendEvent(&window, &press);
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
        QApplication::sendEvent(&window, &release);
        QApplication::processEvents();  // the window and the manager's table painted anew
    });
    return {processor, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count()};
}

void BM_SheetEntryKeyPressOf250QuestionsOfNineAnswers(benchmark::State& state) {
    const QString survey = bench::LargestSurveyFile();
    const QString data = bench::Folder().filePath(QStringLiteral("dane"));
    QDir().mkpath(data);
    QFile::setPermissions(data, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    bench::ChoosingDialogs dialogs(survey);
    platform::SystemPrinter printer(dialogs);
    bench::NoLauncher launcher;
    results::ResultsStore store;
    results::TForm3 manager(dialogs, printer, store, launcher);
    collect::RecoveryFile recovery(data, store);
    recovery.Follow(manager);
    collect::SheetEntryWindow window(dialogs, manager, recovery);
    manager.ShowForm();
    collect::NewResultsFromChosenSurvey(manager);
    window.OpenSheetEntry();
    QApplication::processEvents();

    // Question q gets answer q % 9 + 1, then Enter; the last Enter adds the sheet.
    int step = 0;
    Timing slowest, adding, slowestAdding;
    double wall = 0;
    int added = 0;
    for (auto _ : state) {
        const int q = step / 2 + 1;
        const bool letter = step % 2 == 0;
        const Timing t = letter ? Press(window, Qt::Key_unknown, QString(QChar(u'a' + q % 9)))
                                : Press(window, Qt::Key_Return, QStringLiteral("\r"));
        state.SetIterationTime(t.processor);
        wall += t.wall;
        slowest = {std::max(slowest.processor, t.processor), std::max(slowest.wall, t.wall)};
        if (!letter && q == 250) {
            adding = {adding.processor + t.processor, adding.wall + t.wall};
            slowestAdding = {std::max(slowestAdding.processor, t.processor),
                             std::max(slowestAdding.wall, t.wall)};
            ++added;
        }
        step = (step + 1) % 500;
    }
    if (window.SheetsAdded() != added || store.Tally.QuestionCount != 250) {
        state.SkipWithError("the sheets were not added");
    }
    state.counters["slowest_ms"] = slowest.processor * 1e3;
    state.counters["adding_ms"] = adding.processor * 1e3 / std::max(added, 1);
    state.counters["slowest_adding_ms"] = slowestAdding.processor * 1e3;
    state.counters["wall_us"] = wall * 1e6 / static_cast<double>(state.iterations());
    state.counters["wall_slowest_ms"] = slowest.wall * 1e3;
    state.counters["wall_adding_ms"] = adding.wall * 1e3 / std::max(added, 1);
    window.close();
    manager.close();
    recovery.Discard();
}
// Whole sheets of 500 key presses each.
BENCHMARK(BM_SheetEntryKeyPressOf250QuestionsOfNineAnswers)
    ->UseManualTime()
    ->Iterations(2500)
    ->Unit(benchmark::kMicrosecond);

}  // namespace
