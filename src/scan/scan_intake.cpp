// Reading scans of paper sheets into the loaded results.
#include "scan/scan_intake.h"

#include "platform/dialogs.h"
#include "results/results_manager_window.h"
#include "scan/read_sheet_numbers.h"
#include "scan/sheet_review_window.h"

namespace scan {

ScanIntake::ScanIntake(results::TForm3& manager, ReadSheetNumbers& numbers,
                       SheetReviewWindow& review, PageReading reading)
    : manager_(manager), numbers_(numbers), review_(review), reading_(std::move(reading)) {}

void ScanIntake::ReadChosenScans() {
    // A review still open comes first: its sheets would otherwise be read again.
    if (review_.Reviewing()) return review_.ShowForm();
    const QStringList chosen = manager_.dialogs().OpenFilesOrFolders(
        {QStringLiteral("Wybierz skany arkuszy albo folder skanów..."),
         QStringLiteral("Skany arkuszy (*.png *.jpg *.jpeg *.tif *.tiff *.pdf)|"
                        "*.png *.jpg *.jpeg *.tif *.tiff *.pdf"),
         manager_.Results().StartDir});
    if (chosen.isEmpty()) return;
    ReadScans(chosen);
}

void ScanIntake::ReadScans(const QStringList& inputs) {
    if (review_.Reviewing()) return review_.ShowForm();
    platform::Dialogs& dialogs = manager_.dialogs();
    const QStringList files = ScanFilesOf(inputs);
    if (files.isEmpty()) {
        return dialogs.Notice(
            QStringLiteral("Nie wybrano żadnego pliku skanów (PNG, JPEG, TIFF albo PDF)..."));
    }
    const results::ResultsStore& loaded = manager_.Results();
    const ScanTarget target = ScanTargetOf(loaded.Tally, loaded.SurveyText);
    SheetAssembly assembly(target, numbers_.Numbers());
    ScanSummary summary;
    summary.files = static_cast<int>(files.size());
    bool finished = false;
    {
        const auto progress = dialogs.ShowProgress(QStringLiteral("Wczytywanie skanów arkuszy..."));
        finished = reading_(files, target, *progress, [&](ScannedPage page) {
            ++summary.pages;
            assembly.Add(page);
        });
    }
    // A stopped reading adds nothing: the sheets of the pages not yet read would be incomplete.
    if (!finished) {
        return dialogs.Notice(
            QStringLiteral("Wczytywanie skanów przerwano; do wyników nie dodano żadnego arkusza."));
    }
    summary.refused = assembly.Refused();
    std::vector<ScannedSheet> waiting;
    for (ScannedSheet& sheet : assembly.Sheets()) {
        if (!sheet.Certain()) {
            waiting.push_back(std::move(sheet));
            continue;
        }
        const results::ResultsOutcome added = manager_.AddSheet(sheet.marks);
        if (added == results::ResultsOutcome::Merged) {
            numbers_.Add(sheet.number);
            ++summary.addedAtOnce;
        } else {
            summary.notAdded << QStringLiteral("Arkusz %1: %2")
                                    .arg(sheet.number)
                                    .arg(results::SheetRefusedNotice());
        }
    }
    review_.Review(
        std::move(waiting), [this, summary](const SheetReviewWindow::Outcome& outcome) mutable {
            // Results reset or closed meanwhile: what was read went with them.
            if (outcome.resultsClosed) return;
            summary.addedReviewed = outcome.added;
            summary.skipped = outcome.skipped;
            summary.unchecked = outcome.unchecked;
            manager_.Handle([&] { manager_.dialogs().Notice(ScanSummaryText(summary)); });
        });
}

}  // namespace scan
