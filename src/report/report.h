// The report of a questionnaire's results: several results files merged as the results manager
// merges them, then the sums, the table, every question's charts and one PDF of all the
// printouts written into one folder.
#pragma once

#include <QString>
#include <QStringList>
#include <optional>
#include <stdexcept>
#include <vector>

#include "results/results_tally.h"

namespace platform {
class Progress;
}

namespace report {

// A results file that could not go into the report, and why (the results manager's notice or
// the system's reason).
struct Refusal {
    QString file;
    QString reason;
};

// The files merged as "Otwórz" of the first readable one and "Dodaj" of each one after it, in
// the given order. A refused file is noted and the others still go in.
struct MergedResults {
    results::ResultsStore store;
    bool loaded = false;  // at least one file was read
    std::vector<Refusal> refused;
};
MergedResults MergeResultsFiles(const QStringList& files);

enum class Chart { Bar, Pie, Stripe };

// What the report holds: its formats and which charts of every question.
struct ReportContents {
    bool pdf = true, csv = true, png = true, svg = true, wyn = true, txt = true;
    bool bar = true, pie = true, stripe = true;
};

struct ReportOptions {
    QString folder;  // where the report's files go; it must exist
    ReportContents contents;
    // The survey file (.ank) whose texts the CSV carries; empty: the one the results name,
    // looked for also in `resultsFolder`.
    QString surveyFile;
    QString resultsFolder;
};

// The name every file of the report begins with: the file name of the survey the results name,
// without its extension, as it is but for the characters no file name may hold on Linux or
// Windows (control characters and \ / : * ? " < > |, each "_"), a leading full stop ("_"), a
// Windows device name before a full stop ("CON_.3b"), and a length that keeps every file's name
// within 255 bytes ("wyniki" when nothing is left of it).
QString ReportBaseName(const results::ResultsTally& tally);
// "<base>-wyniki.wyn", "<base>-tabela.TXT", "<base>-tabela.csv", "<base>-raport.pdf".
QString ResultsFileName(const QString& base);
QString TableTextFileName(const QString& base);
QString TableCsvFileName(const QString& base);
QString PdfFileName(const QString& base);
// "<base>-pytanie-007-slupkowy.png" (also "kolowy", "paskowy"; extension "png" or "svg").
QString ChartFileName(const QString& base, int question, Chart chart, const QString& extension);

// A report that could not be written: its message, in Polish, names the folder or the file and
// the cause ("Nie można zapisać pliku raportu „/dom/raport/Klasy-raport.pdf”: brak miejsca na
// dysku").
class ReportFailure : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Writes the report of the loaded results into the options' folder and returns the names of the
// files written (replacing files of those names). Every file is first written into a hidden
// folder beside them and moved in only once all are complete, all of them or none, so that a
// report stopped by the progress (then nothing is returned) or by a failure (ReportFailure)
// leaves the folder as it was.
std::optional<QStringList> WriteReport(const results::ResultsStore& store,
                                       const ReportOptions& options, platform::Progress& progress);

// The whole report of every format and chart, as "Raport…" of the results manager writes it;
// false when the progress stopped it.
bool WriteWholeReport(const results::ResultsStore& store, const QString& folder,
                      const QString& resultsFolder, platform::Progress& progress);

}  // namespace report
