// The sheet being typed in from paper, or checked after a scan: which question is on screen and
// which answers are marked, moved through by the keys of the typing windows; and the texts those
// windows show of it.
#pragma once

#include <QString>
#include <utility>
#include <vector>

#include "editor/question_work_files.h"
#include "results/answer_sheet.h"
#include "results/results_tally.h"

namespace collect {

class SheetTyping {
public:
    // Starts the first sheet at question 1 of the questionnaire `tally` describes; the keys go
    // through all its questions.
    explicit SheetTyping(const results::ResultsTally& tally);
    // A sheet already marked, of which only `questions` (ascending, at least one) are visited:
    // the questions of a scanned sheet that a person checks.
    SheetTyping(const results::ResultsTally& tally, const results::AnswerSheet& marks,
                std::vector<int> questions);

    int Question() const { return questions_.empty() ? 1 : questions_[step_]; }
    int QuestionCount() const { return questionCount_; }
    int AnswerCount() const { return AnswerCount(Question()); }
    int AnswerCount(int question) const { return answerCounts_[question]; }
    // The question on screen among the visited ones: 1.. of Steps().
    int Step() const { return static_cast<int>(step_) + 1; }
    int Steps() const { return static_cast<int>(questions_.size()); }
    const results::AnswerSheet& Sheet() const { return sheet_; }

    // Marks or unmarks answer 1..9 of the question on screen; false when it has no such answer.
    bool Toggle(int answer);
    // To the next visited question; false at the last one, where the sheet is complete.
    bool Next();
    // To the previous visited question; false at the first.
    bool Previous();
    // An empty sheet at the first visited question.
    void StartNewSheet();

    // What a key did: nothing, an answer toggled, another question on screen, or the sheet
    // complete (Enter at the last question).
    enum class Outcome { Ignored, Toggled, Moved, Complete };
    struct KeyResult {
        Outcome outcome = Outcome::Ignored;
        int answer = 0;  // the answer toggled
    };
    // A key of the typing windows: a to i (either case) or 1 to 9 toggle an answer; Enter and →
    // (↓) the next question, Enter at the last one completes the sheet; ← (↑) the previous one.
    // Keys with Ctrl are left to the window.
    KeyResult Press(int key, const QString& text, Qt::KeyboardModifiers modifiers = {});

private:
    int questionCount_;
    std::array<std::uint8_t, results::kMaxQuestions + 1> answerCounts_;
    std::vector<int> questions_;  // the visited questions
    std::size_t step_ = 0;
    results::AnswerSheet sheet_;
};

// The marks of a sheet as "1: a  2: b c  3: –", question by question.
QString SheetAnswers(const results::AnswerSheet& sheet, const results::ResultsTally& tally);

// The question's two lines as the typing windows show them: the questionnaire's when `texts`
// holds it, otherwise "Pytanie 7" and where its text is.
std::pair<QString, QString> QuestionLines(const SheetTyping& typing,
                                          const std::vector<editor::QuestionRecord>& texts);
// An answer of the question on screen with its mark: "[X]  a) Tak" ("[  ]  a) " without texts).
QString AnswerLine(const SheetTyping& typing, const std::vector<editor::QuestionRecord>& texts,
                   int answer);
// What a screen reader is told of an answer of the question on screen: "a) Tak: zaznaczona", or
// "a: nie zaznaczona" without texts.
QString AnswerReading(const SheetTyping& typing, const std::vector<editor::QuestionRecord>& texts,
                      int answer);
// What a screen reader is told of the question on screen: `heading`, its lines and every answer
// with its mark.
QString QuestionReading(const QString& heading, const SheetTyping& typing,
                        const std::vector<editor::QuestionRecord>& texts);

}  // namespace collect
