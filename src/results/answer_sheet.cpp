// Adding a respondent's sheet to the tally and taking it back.
#include "results/answer_sheet.h"

#include <limits>

namespace results {
namespace {

constexpr int kMaxCount = std::numeric_limits<std::uint16_t>::max();

// Calls `each(q, a)` for every marked answer the questionnaire has.
template <typename Each>
void ForEachMark(const ResultsTally& tally, const AnswerSheet& sheet, const Each& each) {
    for (int q = 1; q <= tally.QuestionCount; ++q) {
        for (int a = 1; a <= tally.AnswerCount[q] && a <= kMaxAnswers; ++a) {
            if (sheet.IsMarked(q, a)) each(q, a);
        }
    }
}

}  // namespace

QString SheetRefusedNotice() {
    return QStringLiteral("Suma wyników przekroczyłaby 65535, arkusza nie dodano...");
}

ResultsOutcome AddSheet(ResultsTally& tally, const AnswerSheet& sheet) {
    bool fits = tally.RespondentCount < kMaxCount;
    ForEachMark(tally, sheet, [&](int q, int a) { fits = fits && tally.AnswerTally[q][a] < kMaxCount; });
    if (!fits) return ResultsOutcome::SumTooLarge;
    ++tally.RespondentCount;
    ForEachMark(tally, sheet, [&](int q, int a) { ++tally.AnswerTally[q][a]; });
    return ResultsOutcome::Merged;
}

void TakeSheetBack(ResultsTally& tally, const AnswerSheet& sheet) {
    if (tally.RespondentCount > 0) --tally.RespondentCount;
    ForEachMark(tally, sheet, [&](int q, int a) {
        if (tally.AnswerTally[q][a] > 0) --tally.AnswerTally[q][a];
    });
}

}  // namespace results
