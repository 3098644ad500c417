// The sheet being typed in from paper: which question is on screen and which answers are
// marked, moved through by the keys of the typing window.
#pragma once

#include <QString>

#include "results/answer_sheet.h"
#include "results/results_tally.h"

namespace collect {

class SheetTyping {
public:
    // Starts the first sheet at question 1 of the questionnaire `tally` describes.
    explicit SheetTyping(const results::ResultsTally& tally);

    int Question() const { return question_; }
    int QuestionCount() const { return questionCount_; }
    int AnswerCount() const { return AnswerCount(question_); }
    int AnswerCount(int question) const { return answerCounts_[question]; }
    const results::AnswerSheet& Sheet() const { return sheet_; }

    // Marks or unmarks answer 1..9 of the question on screen; false when it has no such answer.
    bool Toggle(int answer);
    // To the next question; false at the last one, where the sheet is complete.
    bool Next();
    // To the previous question; false at the first.
    bool Previous();
    // An empty sheet at question 1.
    void StartNewSheet();

private:
    int questionCount_;
    std::array<std::uint8_t, results::kMaxQuestions + 1> answerCounts_;
    int question_ = 1;
    results::AnswerSheet sheet_;
};

// The marks of a sheet as "1: a  2: b c  3: –", question by question.
QString SheetAnswers(const results::AnswerSheet& sheet, const results::ResultsTally& tally);

}  // namespace collect
