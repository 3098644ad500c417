// The window for typing in paper sheets, one sheet at a time, from the keyboard: keys a to i
// (or 1 to 9) mark answers of the question on screen, Enter and the arrow keys move between the
// questions, Enter after the last question adds the sheet to the loaded results. A screen reader
// is told each question with its answers' marks, each mark as it changes, and each sheet added.
#pragma once

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <array>
#include <optional>
#include <vector>

#include "collect/sheet_typing.h"
#include "editor/question_work_files.h"
#include "platform/form.h"

namespace results {
class TForm3;
}

namespace collect {

class RecoveryFile;

// An answer's label as the typing windows show it: bold and highlighted while it is marked.
void ShowMark(QLabel& label, bool marked);

class SheetEntryWindow : public platform::Form {
    Q_OBJECT
public:
    SheetEntryWindow(platform::Dialogs& dialogs, results::TForm3& manager, RecoveryFile& recovery);

    // "Wprowadź odpowiedzi…": offers the sheets a recovery file holds for the loaded
    // questionnaire, then shows the window on a new sheet; an open window comes to the front.
    void OpenSheetEntry();

    // A key as the user presses it (what keyPressEvent hands over).
    void Key(int key, const QString& text, Qt::KeyboardModifiers modifiers = {});

    int SheetsAdded() const { return static_cast<int>(added_.size()); }
    const SheetTyping& Typing() const { return *typing_; }

    QLabel* Label1;                     // sheet and question number
    std::array<QLabel*, 2> Question;    // the question's two lines
    std::array<QLabel*, 9> Answer;      // answers a to i with their marks
    QLabel* Label2;                     // the keys
    QLabel* Label3;                     // sheets added in this window
    QPlainTextEdit* Memo1;              // the last sheet's answers
    QPushButton* Button1;               // "Cofnij ostatni arkusz"
    QPushButton* Button2;               // "Koniec"

    void Button1Click();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void AddTypedSheet();
    // The sheet's number (sheets added + 1) and the question's.
    void ShowHeading();
    void ShowQuestion();
    void ShowAnswer(int answer);
    void ShowSheetsAdded();
    // Tells a screen reader the question now on screen, after `before`: the heading, the
    // question's lines and every answer with its mark.
    void AnnounceQuestion(const QString& before = {});

    results::TForm3& manager_;
    RecoveryFile& recovery_;
    std::optional<SheetTyping> typing_;
    // The questionnaire's texts from its survey file, when that file still matches the results.
    std::vector<editor::QuestionRecord> texts_;
    // The sheets added since the window opened, the last one last.
    std::vector<results::AnswerSheet> added_;
};

}  // namespace collect
