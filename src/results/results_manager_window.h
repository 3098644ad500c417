// The results manager window: the table of counts, its buttons and the menus that load, add,
// save and delete results files and open the survey text and chart windows.
#pragma once

#include <QPushButton>
#include <array>
#include <functional>

#include "platform/form.h"
#include "results/answer_sheet.h"
#include "results/chart_link.h"
#include "results/results_file.h"
#include "results/results_tally.h"
#include "results/string_grid.h"

class QAction;
class QFrame;
class QMenu;

namespace platform {
class Printer;
class Progress;
}

namespace results {

class TForm8;

// What a screen reader reads of the table's cell of a question's answer showing `count`:
// "Pytanie 3, odpowiedź B: 12", or for an answer the question does not have (an empty cell),
// "Pytanie 3 nie ma odpowiedzi E".
QString CountReading(int question, int answer, const QString& count);

class TForm3 : public platform::Form {
    Q_OBJECT
public:
    TForm3(platform::Dialogs& dialogs, platform::Printer& printer, ResultsStore& store,
           platform::LauncherControl& launcher);

    // The chart windows behind "Słupkowy", "Kołowy", "Paskowy" and "Multi", in this order.
    void SetChartLinks(std::array<ChartLink*, 4> charts);
    void SetSurveyTextWindow(TForm8* window);

    // Writes the report of the loaded results into `folder`, looking for the survey file the
    // results name also in `resultsFolder`; false when the progress box stopped it.
    using ReportWriter = std::function<bool(const ResultsStore& store, const QString& folder,
                                            const QString& resultsFolder,
                                            platform::Progress& progress)>;
    // The writer behind "Raport…"; without one the item does nothing.
    void SetReportWriter(ReportWriter writer) { reportWriter_ = std::move(writer); }

    // ResultsLoaded, as against NoResults.
    bool ResultsLoaded() const { return loaded_; }
    // The loaded results (meaningful while ResultsLoaded) and StartDir.
    const ResultsStore& Results() const { return store_; }

    // Takes in results files as a user would one after another: "Otwórz" of a file while no
    // results are loaded, "Dodaj" of every other. Each file is a handler of its own, so a file
    // refused or failing is shown as those show it and the next one still goes in.
    void OpenResultsFiles(const QStringList& names);

    // Adds one respondent's sheet to the loaded results and shows it as a merge is shown: the
    // table, the caption's respondent count and every chart window's redraw. Merged, or
    // SumTooLarge with nothing added (the caller gives the notice).
    ResultsOutcome AddSheet(const AnswerSheet& sheet);
    // Takes a sheet added by AddSheet back out, shown the same way.
    void TakeSheetBack(const AnswerSheet& sheet);

    // Loads these results as "Otwórz" loads a file's: they replace the results in memory and
    // are shown with their text, the window takes the ResultsLoaded states.
    void TakeResults(const ResultsTally& tally, const QList<QByteArray>& surveyText);
    // Puts counts of the loaded questionnaire in place of the loaded ones (sheets brought back
    // after the program was cut short), shown as a merge is.
    void TakeCounts(const ResultsTally& counts);

signals:
    // The loaded results are gone: reset, or the window closed.
    void ResultsClosed();
    // A sheet was added to the loaded results or taken back out.
    void SheetsChanged();
    // "Zapisz" wrote the loaded results to a file.
    void ResultsSaved();

public:

    QFrame* Shape1;
    StringGrid* StringGrid1;
    QPushButton* Button1;  // "Koniec"
    QPushButton* Button2;  // "Zapisz Tabelę"
    QPushButton* Button3;  // "Drukuj"
    QMenu* Plik;
    QAction* Otwrz1;
    QAction* Dodaj1;
    QAction* Zapisz1;
    QAction* Wyzeruj1;
    QAction* Raport1;  // "Raport…", behind a separator
    // Enabled as "Otwórz" and "Dodaj" are; the program links them to the windows behind them.
    QAction* Nowewynikizankiety1;  // "Nowe wyniki z ankiety…"
    QAction* Wprowadodpowiedzi1;   // "Wprowadź odpowiedzi…"
    // "Zbieraj odpowiedzi w sieci...": enabled while results are loaded; the program links it to
    // the collection window.
    QAction* Zbierajodpowiedziwsieci1;
    // "Wczytaj skany arkuszy…": enabled while results are loaded; the program links it to the
    // reading of scanned sheets.
    QAction* Wczytajskanyarkuszy1;
    // "Skanuj arkusze telefonem…": enabled while results are loaded; the program links it to the
    // phone scanning's window.
    QAction* Skanujarkuszetelefonem1;
    QMenu* Okna1;
    QAction* Treankiety1;
    QMenu* Wykresy1;
    QAction* Supkowy1;
    QAction* Paskowy1;
    QAction* Koowy1;
    QAction* Multi1;
    QMenu* Inne1;
    QAction* Skasujplikwynikw1;
    QAction* Skasujwszystkie1;

protected:
    void FormShow() override;
    void FormClose() override;

private:
    enum Chart { Bar, Pie, Stripe, Multi };  // the order of SetChartLinks

    void BuildControls();
    void WireHandlers();

    void Otwrz1Click();
    void Dodaj1Click();
    void Zapisz1Click();
    void Wyzeruj1Click();
    void Raport1Click();
    void Treankiety1Click();
    void Supkowy1Click();
    void Paskowy1Click();
    void Koowy1Click();
    void Multi1Click();
    void Skasujplikwynikw1Click();
    void Skasujwszystkie1Click();
    void Button1Click();
    void Button2Click();  // "Zapisz Tabelę"
    void Button3Click();  // "Drukuj"

    // "Otwórz" and "Dodaj" of a chosen file, after their dialog.
    void OpenResults(const QString& name);
    void AddResults(const QString& name);
    // Dropped files: the results files go in, any other is refused with a notice.
    void FilesDropped(const QStringList& names);

    // The controls' states of NoResults or ResultsLoaded.
    void TakeState(bool loaded);
    // Asks with the buttons and menus disabled, runs `onYes` on Yes, and then gives the controls
    // the states of the current state again, also when `onYes` fails.
    void AskWithControlsDisabled(const QString& question, const std::function<void()>& onYes);
    QString RunOpenDialog();
    platform::FileDialogOptions OpenDialogOptions() const;
    // "Dodaj" of several files at once: each merged in turn, the refused ones named in one notice.
    void AddFiles(const QStringList& names);
    void ShowNotice(ResultsOutcome outcome);
    void ShowCaption(const QByteArray& respondents);
    // Shows the results just put in the store: caption, grid, survey text, ResultsLoaded.
    void ShowTakenResults(const QByteArray& respondents);
    // The counts, the caption and the charts after the tally changed by a merge or a sheet.
    void ShowChangedCounts();
    void FillGrid();
    // The count cells of every question: its tallies when `shown`, otherwise empty.
    void ShowCounts(bool shown);
    void OpenChart(Chart chart, QAction* item);
    void CloseChart(Chart chart);
    void CloseSurveyText();

    platform::Printer& printer_;
    ResultsStore& store_;
    platform::LauncherControl& launcher_;
    std::array<ChartLink*, 4> charts_{};
    TForm8* surveyText_ = nullptr;
    bool loaded_ = false;
    ReportWriter reportWriter_;
    QString openedFolder_;  // the folder of the file "Otwórz" loaded
};

}  // namespace results
