// A survey editor window on its own work-file folder, with scripted dialogs, for the tests of
// its handlers and of its survey files.
#pragma once

#include <gtest/gtest.h>

#include <QDir>
#include <QMenu>
#include <QStringList>

#include "editor/survey_editor_window.h"
#include "support/recording_printer.h"
#include "support/scripted_dialogs.h"
#include "support/temp_folder.h"

namespace editor_testing {

// A question record with the given lines (numbered from 1) filled and the rest empty.
inline editor::QuestionRecord RecordWith(std::initializer_list<std::pair<int, const char*>> lines) {
    editor::QuestionRecord record;
    for (const auto& [line, text] : lines) record[line - 1] = text;
    return record;
}

class QuietLauncher : public platform::LauncherControl {
public:
    void ShowLauncher() override {}
    void HideLauncher() override {}
};

class SurveyEditorTest : public ::testing::Test {
protected:
    SurveyEditorTest() : state(work.path()), window(dialogs, printer, state, launcher) {
        window.ShowForm();
    }
    ~SurveyEditorTest() override { window.hide(); }

    // Adds questions by "Następne" and Yes until the survey has `total`, each with "Pytanie n"
    // as its first line.
    void AddQuestionsUpTo(int total) {
        window.Edit(1)->setText(QStringLiteral("Pytanie %1").arg(state.CurrentQuestion));
        while (state.QuestionTotal < total) {
            dialogs.answers.push_back(true);
            window.Button1->click();
            window.Edit(1)->setText(QStringLiteral("Pytanie %1").arg(state.CurrentQuestion));
        }
    }
    void JumpTo(int number) {
        window.ComboBox1->setCurrentIndex(number - 1);
        emit window.ComboBox1->activated(number - 1);
    }
    QStringList ComboItems() const {
        QStringList items;
        for (int i = 0; i < window.ComboBox1->Count(); ++i) items << window.ComboBox1->itemText(i);
        return items;
    }
    QString Counters() const {
        return QStringLiteral("%1z%2").arg(state.CurrentQuestion).arg(state.QuestionTotal);
    }
    // Every work file with its bytes, to see that nothing on disk changed.
    QStringList WorkFolder() const {
        QStringList entries;
        for (const QString& name : QDir(work.path()).entryList(QDir::Files, QDir::Name)) {
            entries << name + u'=' + QString::fromLatin1(testing_support::ReadBytes(work.File(name)).toHex());
        }
        return entries;
    }
    bool NavigationEnabled() const {
        return window.Button1->isEnabled() && window.Button3->isEnabled() &&
               window.Button4->isEnabled() && window.ComboBox1->isEnabled() &&
               window.Ankiety1->menuAction()->isEnabled();
    }
    bool NavigationDisabled() const {
        return !window.Button1->isEnabled() && !window.Button2->isEnabled() &&
               !window.Button3->isEnabled() && !window.Button4->isEnabled() &&
               !window.ComboBox1->isEnabled() && !window.Ankiety1->menuAction()->isEnabled();
    }

    testing_support::TempFolder work;
    testing_support::ScriptedDialogs dialogs;
    testing_support::RecordingPrinter printer;
    QuietLauncher launcher;
    editor::EditorState state;
    editor::TForm1 window;
};

}  // namespace editor_testing
