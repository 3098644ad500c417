// The results manager with the typing window and its recovery file on a private folder of its
// own, answered by scripted dialogs.
#pragma once

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTest>

#include "collect/new_results.h"
#include "collect/recovery_file.h"
#include "collect/sheet_entry_window.h"
#include "editor/survey_file.h"
#include "platform/text_file.h"
#include "results/results_manager_window.h"
#include "support/recording_printer.h"
#include "support/scripted_dialogs.h"
#include "support/temp_folder.h"

namespace collect_testing {

class QuietLauncher : public platform::LauncherControl {
public:
    void ShowLauncher() override {}
    void HideLauncher() override {}
};

// A question record of the given lines (numbered from 1).
inline editor::QuestionRecord Record(std::initializer_list<std::pair<int, const char*>> lines) {
    editor::QuestionRecord record;
    for (const auto& [line, text] : lines) record[line - 1] = text;
    return record;
}

class CollectTest : public ::testing::Test {
protected:
    CollectTest() : previousDir(QDir::currentPath()) {
        QDir().mkdir(data());
        QFile::setPermissions(data(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QDir::setCurrent(folder.path());
        recovery.Follow(manager);
        manager.ShowForm();
    }
    ~CollectTest() override {
        window.hide();
        manager.hide();
        QDir::setCurrent(previousDir);
    }

    QString data() const { return folder.File("dane"); }
    QString WriteSurvey(const char* name, const std::vector<editor::QuestionRecord>& questions) {
        const QString path = folder.File(name);
        platform::WriteFileReplacing(path, [&](platform::TextFileWriter& file) {
            editor::WriteSurvey(file, static_cast<int>(questions.size()),
                                [&](int n) { return questions[n - 1]; });
        });
        return path;
    }
    // "Nowe wyniki z ankiety…" of the chosen file.
    void NewResults(const QString& path) {
        dialogs.fileNames.push_back(path);
        manager.Handle([this] { collect::NewResultsFromChosenSurvey(manager); });
    }
    // Types one sheet: for every question the letters given, then Enter.
    void TypeSheet(const QStringList& answers) {
        for (const QString& letters : answers) {
            for (const QChar letter : letters) QTest::keyClick(&window, letter.toLatin1());
            QTest::keyClick(&window, Qt::Key_Return);
        }
    }
    void Save(const QString& path) {
        dialogs.fileNames.push_back(path);
        manager.Zapisz1->trigger();
    }
    const results::ResultsTally& Tally() const { return manager.Results().Tally; }

    testing_support::TempFolder folder;
    QString previousDir;
    testing_support::ScriptedDialogs dialogs;
    testing_support::RecordingPrinter printer;
    QuietLauncher launcher;
    results::ResultsStore store;
    results::TForm3 manager{dialogs, printer, store, launcher};
    collect::RecoveryFile recovery{data(), store};
    collect::SheetEntryWindow window{dialogs, manager, recovery};
};

}  // namespace collect_testing
