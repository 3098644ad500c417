// A respondent's sheet added to the tally and taken back out.
#include <gtest/gtest.h>

#include "results/answer_sheet.h"

using results::AnswerSheet;
using results::ResultsOutcome;
using results::ResultsTally;

namespace {

ResultsTally TwoQuestions() {
    ResultsTally tally;
    tally.SurveyName = "Ankieta";
    tally.QuestionCount = 2;
    tally.AnswerCount[1] = 3;
    tally.AnswerCount[2] = 2;
    return tally;
}

}  // namespace

TEST(AnswerSheet, AddsOneRespondentAndEveryMarkTheQuestionnaireHasAndTakesThemBack) {
    ResultsTally tally = TwoQuestions();
    AnswerSheet sheet;
    sheet.Toggle(1, 1);
    sheet.Toggle(1, 3);
    sheet.Toggle(2, 2);
    sheet.Toggle(2, 5);  // question 2 has no answer e
    sheet.Toggle(3, 1);  // nor is there a question 3
    EXPECT_EQ(results::AddSheet(tally, sheet), ResultsOutcome::Merged);
    EXPECT_EQ(tally.RespondentCount, 1);
    EXPECT_EQ(tally.AnswerTally[1], (std::array<std::uint16_t, 10>{0, 1, 0, 1}));
    EXPECT_EQ(tally.AnswerTally[2], (std::array<std::uint16_t, 10>{0, 0, 1}));
    EXPECT_EQ(tally.AnswerTally[3][1], 0);

    results::TakeSheetBack(tally, sheet);
    EXPECT_EQ(tally, TwoQuestions());
}

TEST(AnswerSheet, ASheetThatWouldPassTheLargestCountAddsNothing) {
    for (const bool fullRespondents : {true, false}) {
        ResultsTally tally = TwoQuestions();
        tally.RespondentCount = fullRespondents ? 65535 : 10;
        tally.AnswerTally[2][2] = fullRespondents ? 0 : 65535;
        const ResultsTally before = tally;
        AnswerSheet sheet;
        sheet.Toggle(1, 1);
        sheet.Toggle(2, 2);
        EXPECT_EQ(results::AddSheet(tally, sheet), ResultsOutcome::SumTooLarge);
        EXPECT_EQ(tally, before);
    }
}
