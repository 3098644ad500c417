// The results manager on new results of a survey file written for the test, with the numbers of
// the sheets read into them, answered by scripted dialogs: what the windows of scanned sheets
// work on.
#pragma once

#include <gtest/gtest.h>

#include "collect/new_results.h"
#include "editor/survey_file.h"
#include "platform/text_file.h"
#include "results/results_manager_window.h"
#include "scan/read_sheet_numbers.h"
#include "support/recording_printer.h"
#include "support/scripted_dialogs.h"
#include "support/temp_folder.h"

namespace scan_testing {

class QuietLauncher : public platform::LauncherControl {
public:
    void ShowLauncher() override {}
    void HideLauncher() override {}
};

class ScanResultsTest : public ::testing::Test {
protected:
    // `questions` questions "Pytanie", each with answers "Odpowiedz 1" to "Odpowiedz <answers>".
    ScanResultsTest(int questions, int answers) {
        editor::QuestionRecord question;
        question[0] = "Pytanie";
        for (int a = 1; a <= answers; ++a) question[2 * a] = "Odpowiedz " + QByteArray::number(a);
        survey = folder.File("ankieta.ank");
        platform::WriteFileReplacing(survey, [&](platform::TextFileWriter& file) {
            editor::WriteSurvey(file, questions, [&](int) { return question; });
        });
        numbers.Follow(manager);
        manager.ShowForm();
        LoadNewResults();
    }
    ~ScanResultsTest() override { manager.hide(); }

    // "Nowe wyniki z ankiety…" of the survey file.
    void LoadNewResults() {
        dialogs.fileNames.push_back(survey);
        manager.Handle([this] { collect::NewResultsFromChosenSurvey(manager); });
    }
    const results::ResultsTally& Tally() const { return manager.Results().Tally; }

    testing_support::TempFolder folder;
    QString survey;
    testing_support::ScriptedDialogs dialogs;
    testing_support::RecordingPrinter printer;
    QuietLauncher launcher;
    results::ResultsStore store;
    results::TForm3 manager{dialogs, printer, store, launcher};
    scan::ReadSheetNumbers numbers;
};

}  // namespace scan_testing
