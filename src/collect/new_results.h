// Results of a questionnaire that nobody has answered yet, made from its survey file: the
// start of typing in paper sheets.
#pragma once

#include <QByteArray>
#include <QList>
#include <vector>

#include "editor/question_work_files.h"
#include "results/results_tally.h"

namespace results {
class TForm3;
}

namespace collect {

struct NewResults {
    results::ResultsTally tally;
    QList<QByteArray> surveyText;
};

// Results named `surveyName` with the questions' answer counts as the editor counts them, every
// count 0, and as text the questionnaire as its printout lays it out, one line per printed line.
// At most kMaxQuestions questions (the caller refuses more).
NewResults ResultsOfSurvey(const QByteArray& surveyName,
                           const std::vector<editor::QuestionRecord>& questions);

// The questions of the survey file the results are named after, while that file still has their
// question count and every answer count; empty otherwise.
std::vector<editor::QuestionRecord> MatchingSurveyQuestions(const results::ResultsTally& tally);

// "Nowe wyniki z ankiety…": a survey file chosen and its new results loaded into the results
// manager as "Otwórz" loads a results file.
void NewResultsFromChosenSurvey(results::TForm3& manager);

}  // namespace collect
