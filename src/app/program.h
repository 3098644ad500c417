// The program's windows and the program-wide state of its subsystems, created once at start-up
// in a fixed order.
#pragma once

#include <QString>
#include <memory>

#include "app/command_line.h"
#include "app/launcher_window.h"
#include "charts/chart_windows.h"
#include "collect/collection_window.h"
#include "collect/recovery_file.h"
#include "collect/sheet_entry_window.h"
#include "editor/question_work_files.h"
#include "editor/survey_editor_window.h"
#include "platform/shared_http_server.h"
#include "results/results_manager_window.h"
#include "results/survey_text_window.h"
#include "scan/phone_scan_window.h"
#include "scan/read_sheet_numbers.h"
#include "scan/scan_intake.h"
#include "scan/sheet_review_window.h"
#include "stats/statistics_window.h"

namespace platform {
class Dialogs;
class Printer;
}  // namespace platform

namespace app {

struct Program {
    // Creates the nine windows in the order TForm0, TForm1, TForm3 ... TForm9, the first the
    // main window, then the windows of the tools added since. None is shown yet.
    Program(platform::Dialogs& dialogs, platform::Printer& printer, const QString& workFilesFolder);
    ~Program();

    editor::EditorState editor;
    results::ResultsStore results;
    stats::ChannelStore channels;
    // The copy of sheets typed in, in the program's own data folder (the work files' folder).
    collect::RecoveryFile recovery;
    // The web server of the collection and the phone scanning, running while either needs it.
    platform::SharedHttpServer server;
    // The numbers of the paper sheets read from scans into the loaded results.
    scan::ReadSheetNumbers scannedSheets;

    std::unique_ptr<TForm0> Form0;
    std::unique_ptr<editor::TForm1> Form1;
    std::unique_ptr<results::TForm3> Form3;
    std::unique_ptr<charts::TForm4> Form4;
    std::unique_ptr<charts::TForm5> Form5;
    std::unique_ptr<charts::TForm6> Form6;
    std::unique_ptr<stats::TForm7> Form7;
    std::unique_ptr<results::TForm8> Form8;
    std::unique_ptr<charts::TForm9> Form9;
    std::unique_ptr<collect::SheetEntryWindow> SheetEntry;  // "Wprowadź odpowiedzi…"
    std::unique_ptr<collect::TForm11> Form11;
    std::unique_ptr<scan::SheetReviewWindow> SheetReview;  // "Sprawdzanie arkuszy"
    // "Wczytaj skany arkuszy…": the reading of scans into the loaded results.
    std::unique_ptr<scan::ScanIntake> scanIntake;
    std::unique_ptr<scan::PhoneScanWindow> PhoneScan;  // "Skanuj arkusze telefonem…"
};

// The first window the command line asks for: the launcher, or the results manager with its
// files, or the survey editor with its survey, the launcher then hidden until the tool closes.
void ShowFirstWindow(Program& program, const CommandLine& command);

}  // namespace app
