// The table of counts as a CSV file for spreadsheets with Polish settings: UTF-8 with a byte-order
// mark, ";" between fields, decimal commas, CR LF, one row per question and answer, with the
// questionnaire's texts when its survey file can be read.
#pragma once

#include <QByteArray>
#include <QString>
#include <optional>
#include <vector>

#include "editor/question_work_files.h"
#include "results/results_tally.h"

namespace report {

// The questions of a survey file: two question lines, then two lines per answer A to I.
using SurveyQuestions = std::vector<editor::QuestionRecord>;

// The questionnaire's texts: from `given` when one is given, otherwise from the survey file the
// results name, as named or by its file name in `resultsFolder` (with ".ank" added when the name
// has no extension). Nothing when none of them can be read as a survey file.
std::optional<SurveyQuestions> FindSurveyQuestions(const QByteArray& surveyName,
                                                   const QString& given,
                                                   const QString& resultsFolder);

// One field as RFC 4180 quotes it: in double quotes, its own quotes doubled, when it holds ";",
// a quote, a carriage return or a line feed; as it is otherwise.
QByteArray CsvField(const QByteArray& text);

// The whole CSV file: a header row, then per question and answer the question number, the
// answer's letter, its count, its percent of the respondents and of the answers given (two
// decimals), and with `texts` also the question's and the answer's text.
QByteArray TableCsv(const results::ResultsTally& tally, const SurveyQuestions* texts);

}  // namespace report
