// The survey editor window: one question of the questionnaire in twenty edit boxes, the buttons
// and the combo box to move through the questions, and the menu "Ankiety".
#pragma once

#include <QLabel>
#include <QPushButton>
#include <array>

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

    // Writes the boxes to the work file of the question on screen.
    void SaveCurrentQuestion();
    // Reads work file N into the line buffer, then into the boxes (running their handlers).
    void LoadQuestion(int number);
    // CurrentAnswerCount from the boxes, then the caption.
    void RefreshCaption();
    void UpdateEditorCaption();

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

protected:
    void FormShow() override;
    void FormClose() override;

private:
    void BuildControls();

    platform::Printer& printer_;
    EditorState& state_;
    platform::LauncherControl& launcher_;
    std::array<platform::EditBox*, 20> edits_{};
};

}  // namespace editor
