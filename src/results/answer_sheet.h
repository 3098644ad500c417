// One respondent's sheet of answers (typed in from paper or sent over the network) and how it is
// added to the loaded tally and taken back out again.
#pragma once

#include <array>
#include <cstdint>

#include "results/results_file.h"
#include "results/results_tally.h"

namespace results {

struct AnswerSheet {
    // Marked[q], bit a - 1: answer a of question q is marked. Index 0 is unused.
    std::array<std::uint16_t, kMaxQuestions + 1> Marked{};

    bool IsMarked(int question, int answer) const {
        return (Marked[question] >> (answer - 1)) & 1u;
    }
    void Toggle(int question, int answer) {
        Marked[question] = static_cast<std::uint16_t>(Marked[question] ^ (1u << (answer - 1)));
    }

    friend bool operator==(const AnswerSheet&, const AnswerSheet&) = default;
};

// One respondent more and one more under every marked answer that the questionnaire has (marks
// beyond a question's answers or beyond the questions count nothing): Merged, or SumTooLarge
// with the tally unchanged when a count would pass 65535.
ResultsOutcome AddSheet(ResultsTally& tally, const AnswerSheet& sheet);
// The notice of a sheet that AddSheet refused: it speaks of the sheet where a merge's speaks of
// the file.
QString SheetRefusedNotice();

// Takes a sheet added by AddSheet back out; counts never go below 0.
void TakeSheetBack(ResultsTally& tally, const AnswerSheet& sheet);

}  // namespace results
