// The window in which a person checks the scanned sheets the program could not decide alone:
// one waiting sheet at a time, each doubtful question as scanned with the program's decision on
// every box, a question of a page not scanned by its text; the typing window's keys correct the
// marks, Enter after the last question adds the sheet, "Pomiń arkusz" leaves it out.
#pragma once

#include <QLabel>
#include <QPushButton>
#include <array>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

#include "collect/sheet_typing.h"
#include "editor/question_work_files.h"
#include "platform/form.h"
#include "scan/sheet_assembly.h"
#include "scan/sheet_layout.h"

namespace results {
class TForm3;
}

namespace scan {

class ReadSheetNumbers;

class SheetReviewWindow : public platform::Form {
    Q_OBJECT
public:
    // Sheets added here go into the manager's loaded results and their numbers into `numbers`.
    SheetReviewWindow(platform::Dialogs& dialogs, results::TForm3& manager,
                      ReadSheetNumbers& numbers);

    // What became of the sheets of one review.
    struct Outcome {
        int added = 0;
        int skipped = 0;             // "Pomiń arkusz"
        int unchecked = 0;           // still waiting when the window closed
        bool resultsClosed = false;  // the results were reset or closed meanwhile
    };
    // Shows the waiting sheets one after another, the first at once; `finished` runs once, when
    // the last one is dealt with or the window closes ("Koniec", Escape, the results gone).
    void Review(std::vector<ScannedSheet> sheets, std::function<void(const Outcome&)> finished);
    bool Reviewing() const { return typing_.has_value(); }
    // Sheets that come while a review is open (from the phone) join its end, and its outcome
    // counts them; with none open, a review of them alone begins.
    void Append(std::vector<ScannedSheet> sheets);

    // A key as the user presses it (what keyPressEvent hands over).
    void Key(int key, const QString& text, Qt::KeyboardModifiers modifiers = {});

    const ScannedSheet& CurrentSheet() const { return sheets_[current_]; }
    const collect::SheetTyping& Typing() const { return *typing_; }

    QLabel* Label1;                   // the sheet's number and the question's
    QLabel* Label2;                   // which of the questions and sheets to check this is
    std::array<QLabel*, 2> Question;  // the question's two lines
    QLabel* Image1;                   // the scanned question, or the page that was not scanned
    std::array<QLabel*, 9> Answer;    // answers a to i with their marks and the program's reading
    QLabel* Label3;                   // what the frames on the picture mean
    QLabel* Label4;                   // the keys
    QPushButton* Button1;             // "Pomiń arkusz"
    QPushButton* Button2;             // "Koniec"

    void Button1Click();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void FormClose() override;

private:
    void ShowSheet();
    void ShowQuestion();
    void ShowAnswer(int answer);
    void ShowPicture();
    void AddReviewedSheet();
    // The next waiting sheet on screen, told to a screen reader after `told`; the window closes
    // after the last.
    void NextSheet(const QString& told);
    // Tells a screen reader the question now on screen, after `before`: which of those to check it
    // is, the heading, its lines, every answer with its mark and the program's reading.
    void AnnounceQuestion(const QString& before = {});
    // The page of the sheet that holds the question, and the question's place on it.
    std::pair<const SheetPage*, const QuestionPlace*> PlaceOf(int question) const;

    results::TForm3& manager_;
    ReadSheetNumbers& numbers_;
    std::vector<ScannedSheet> sheets_;
    std::size_t current_ = 0;
    std::optional<collect::SheetTyping> typing_;
    std::function<void(const Outcome&)> finished_;
    Outcome outcome_;
    std::vector<editor::QuestionRecord> texts_;
    std::vector<SheetPage> layout_;
};

// The questions of a waiting sheet that a person checks, in order: the doubtful ones and those of
// the pages not scanned; every question when the sheet has neither.
std::vector<int> QuestionsToCheck(const ScannedSheet& sheet, int questionCount);

}  // namespace scan
