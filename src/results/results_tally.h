// The program-wide results: the tally of one questionnaire's answers and the questionnaire's
// text that travels with it in a results file.
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <array>
#include <cstdint>

namespace results {

constexpr int kMaxQuestions = 250;
constexpr int kMaxAnswers = 9;

struct ResultsTally {
    QByteArray SurveyName;              // second line of the file, Windows-1250
    std::uint16_t RespondentCount = 0;  // "Ankietowanych"
    std::uint8_t QuestionCount = 0;     // 0..250
    // Indexed from 1, as questions and answers are numbered; index 0 is unused.
    std::array<std::uint8_t, kMaxQuestions + 1> AnswerCount{};
    std::array<std::array<std::uint16_t, kMaxAnswers + 1>, kMaxQuestions + 1> AnswerTally{};

    friend bool operator==(const ResultsTally&, const ResultsTally&) = default;
};

// The one instance of the loaded results, owned by the results manager and read by the chart
// windows, the table export and the survey text window.
struct ResultsStore {
    ResultsTally Tally;
    QList<QByteArray> SurveyText;  // the lines after the counts, Windows-1250
    QString StartDir;              // current directory taken when the results manager is shown
};

}  // namespace results
