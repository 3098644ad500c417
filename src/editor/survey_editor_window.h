// The survey editor window: one question of the questionnaire in twenty edit boxes, the buttons
// and the combo box to move through the questions, and the menu "Ankiety".
#pragma once

#include <QLabel>
#include <QPushButton>
#include <array>
#include <functional>
#include <vector>

#include "editor/question_work_files.h"
#include "platform/controls.h"
#include "platform/form.h"

class QAction;
class QFrame;
class QMenu;

namespace platform {
class Printer;
}

namespace editor {

class TForm1 : public platform::Form {
    Q_OBJECT
public:
    TForm1(platform::Dialogs& dialogs, platform::Printer& printer, EditorState& state,
           platform::LauncherControl& launcher);

    // Edit1 to Edit20: Edit(n) for n = 1..20.
    platform::EditBox* Edit(int n) const { return edits_[n - 1]; }
    QuestionRecord EditTexts() const;

    // Opens the editor once it has claimed its work folder; otherwise shows the notice why not.
    void ShowEditor();
    // Writes the boxes to the work file of the question on screen.
    void SaveCurrentQuestion();
    // Reads work file N into the line buffer, then into the boxes (running their handlers).
    void LoadQuestion(int number);
    // The line buffer into the boxes (running their handlers).
    void ShowLineBuffer();
    // CurrentAnswerCount from the boxes, then the caption.
    void RefreshCaption();
    void UpdateEditorCaption();
    // The combo box's text field shows CurrentQuestion.
    void ShowNumberInCombo();
    // Everything enabled again after a question box; "Poprzednie" only above question 1.
    void EnableEditorControls();

    void Button1Click();  // "Następne"
    void Button2Click();  // "Poprzednie"
    void Button3Click();  // "Wstaw"
    void Button4Click();  // "Usuń"
    void ComboBox1Change();
    void Nowa1Click();
    void Otworz1Click();
    // The steps of "Otwórz" on a chosen survey file, after its dialog; an empty name is a
    // cancelled dialog.
    void OpenSurveyFile(const QString& name);
    void Zapisz2Click();
    // "Zapisz" into a chosen name: the extension made ".ank", the file replaced only once the new
    // one is complete, and the name kept as the survey's file.
    void SaveSurveyFile(QString name);
    void Drukuj1Click();

    // The questionnaire as its survey file holds it (SavedQuestion of every question), the
    // question on screen written to its work file first.
    std::vector<QuestionRecord> SurveyQuestions();
    // The survey file last opened or saved; empty for a questionnaire started afresh.
    const QString& SurveyFileName() const { return state_.SurveyFile; }
    // Asks with the buttons, the combo box and the menu disabled, runs `onYes` on consent, then
    // EnableEditorControls, also when a failure ends `onYes`.
    void AskWithControlsDisabled(const QString& question, const std::function<void()>& onYes);

    QFrame* Shape1;
    QLabel* Label1;
    std::array<QLabel*, 9> AnswerLabels;  // Label2 to Label10
    QPushButton* Button1;                 // "Następne"
    QPushButton* Button2;                 // "Poprzednie"
    QPushButton* Button3;                 // "Wstaw"
    QPushButton* Button4;                 // "Usuń"
    platform::ComboBox* ComboBox1;
    QMenu* Ankiety1;
    QAction* Nowa1;
    QAction* Otworz1;
    QAction* Zapisz2;
    QAction* Drukuj1;
    // "Drukuj arkusze do skanowania…": the program links it to the printout of the sheets.
    QAction* Drukujarkuszedoskanowania1;

protected:
    void FormShow() override;
    void FormClose() override;

private:
    void BuildControls();
    void WireHandlers();
    void ClearEditBoxes();
    void EmptyComboList();
    // Dropped files: one survey file is opened as "Otwórz" opens it, anything else refused.
    void FilesDropped(const QStringList& names);
    // Buttons, combo box and menu while a question box is open.
    void SetNavigationEnabled(bool enabled);
    // Reads work file N into the line buffer and gives it, for the survey file and the printout.
    QuestionRecord ReadQuestion(int number);
    // Empty question 1 of 1, as on opening and after "Nowa".
    void StartEmptySurvey();

    platform::Printer& printer_;
    EditorState& state_;
    platform::LauncherControl& launcher_;
    std::array<platform::EditBox*, 20> edits_{};
};

}  // namespace editor
