// Start-up: the windows of the program, created once in their fixed order.
#include "app/program.h"

#include "collect/new_results.h"
#include "report/report.h"
#include "scan/editor_sheets.h"

namespace app {

Program::Program(platform::Dialogs& dialogs, platform::Printer& printer,
                 const QString& workFilesFolder)
    : editor(workFilesFolder), recovery(workFilesFolder, results) {
    Form0 = std::make_unique<TForm0>(dialogs, *this);
    Form1 = std::make_unique<editor::TForm1>(dialogs, printer, editor, *Form0);
    Form3 = std::make_unique<results::TForm3>(dialogs, printer, results, *Form0);
    Form4 = std::make_unique<charts::TForm4>(dialogs, printer, results.Tally);
    Form5 = std::make_unique<charts::TForm5>(dialogs, printer, results.Tally);
    Form6 = std::make_unique<charts::TForm6>(dialogs, printer, results.Tally);
    Form7 = std::make_unique<stats::TForm7>(dialogs, printer, channels, *Form0);
    Form8 = std::make_unique<results::TForm8>(dialogs, printer, results);
    Form9 = std::make_unique<charts::TForm9>(dialogs, printer, results.Tally);
    Form11 = std::make_unique<collect::TForm11>(dialogs, *Form3, results, server);
    Form3->SetChartLinks({Form4.get(), Form5.get(), Form6.get(), Form9.get()});
    Form3->SetSurveyTextWindow(Form8.get());
    SheetEntry = std::make_unique<collect::SheetEntryWindow>(dialogs, *Form3, recovery);
    recovery.Follow(*Form3);
    scannedSheets.Follow(*Form3);
    SheetReview = std::make_unique<scan::SheetReviewWindow>(dialogs, *Form3, scannedSheets);
    scanIntake = std::make_unique<scan::ScanIntake>(*Form3, scannedSheets, *SheetReview);
    Form3->OnClick(Form3->Nowewynikizankiety1, [this] { collect::NewResultsFromChosenSurvey(*Form3); });
    Form3->OnClick(Form3->Wprowadodpowiedzi1, [this] { SheetEntry->OpenSheetEntry(); });
    Form3->OnClick(Form3->Zbierajodpowiedziwsieci1, [this] { Form11->StartCollecting(); });
    Form3->OnClick(Form3->Wczytajskanyarkuszy1, [this] { scanIntake->ReadChosenScans(); });
    PhoneScan = std::make_unique<scan::PhoneScanWindow>(dialogs, *Form3, scannedSheets, *SheetReview, server);
    Form3->OnClick(Form3->Skanujarkuszetelefonem1, [this] { PhoneScan->StartScanning(); });
    Form3->SetReportWriter(&report::WriteWholeReport);
    Form1->OnClick(Form1->Drukujarkuszedoskanowania1,
                   [this, &printer] { scan::PrintSheetsOfEditor(*Form1, printer); });
}

Program::~Program() {
    // Windows go before the state they read; the launcher last, as the main window.
    Form0->EndProgram = nullptr;
    PhoneScan.reset();
    scanIntake.reset();
    SheetReview.reset();
    SheetEntry.reset();
    Form11.reset();
    Form9.reset();
    Form8.reset();
    Form7.reset();
    Form6.reset();
    Form5.reset();
    Form4.reset();
    Form3.reset();
    Form1.reset();
    Form0.reset();
}

void ShowFirstWindow(Program& program, const CommandLine& command) {
    switch (command.action) {
    case CommandLine::Action::OpenResults:
        program.Form3->ShowForm();
        program.Form3->OpenResultsFiles(command.arguments);
        return;
    case CommandLine::Action::OpenSurvey:
        program.Form1->ShowEditor();
        // Another copy's editor holds the work folder: its notice was shown, and the launcher
        // stands in so that the program does not run on without a window.
        if (!program.Form1->isVisible()) return program.Form0->ShowForm();
        program.Form1->Handle([&] { program.Form1->OpenSurveyFile(command.arguments.front()); });
        return;
    default:
        program.Form0->ShowForm();
        return;
    }
}

}  // namespace app
