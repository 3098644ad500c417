// Results tallies for the chart tests, written as the counts of each question's answers.
#pragma once

#include <initializer_list>
#include <vector>

#include "results/results_tally.h"

namespace charts_testing {

inline results::ResultsTally TallyOf(std::uint16_t respondents,
                                     std::initializer_list<std::vector<std::uint16_t>> questions,
                                     const QByteArray& surveyName = "Ankieta próbna") {
    results::ResultsTally tally;
    tally.SurveyName = surveyName;
    tally.RespondentCount = respondents;
    int q = 0;
    for (const std::vector<std::uint16_t>& answers : questions) {
        ++q;
        tally.AnswerCount[q] = static_cast<std::uint8_t>(answers.size());
        for (std::size_t a = 0; a < answers.size(); ++a) tally.AnswerTally[q][a + 1] = answers[a];
    }
    tally.QuestionCount = static_cast<std::uint8_t>(q);
    return tally;
}

}  // namespace charts_testing
