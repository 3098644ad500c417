// The survey printout: the questionnaire as numbered questions with lettered answers, line by
// line on portrait pages of the current printer. The same lines, as text, are the survey text
// of results made from a questionnaire.
#pragma once

#include <QByteArray>
#include <functional>

#include "editor/question_work_files.h"

namespace platform {
class Printer;
}

namespace editor {

// One printed line of the questionnaire: `lead` in the regular style, then `text` in the line's
// own style. An empty line is drawn in whatever style is set.
struct SurveyLine {
    QByteArray lead;
    QByteArray text;
    bool bold = false;
    bool underline = false;

    QByteArray Whole() const { return lead + text; }
};

// Lays out the questionnaire as its printout shows it: a header with the number of questions,
// then for questions 1..questionTotal, each read by `readQuestion` when its turn comes, an empty
// line, the numbered question in bold and its answers lettered a) to i). Each line is handed to
// `line` as soon as it is laid out.
void LayOutSurvey(int questionTotal, const std::function<QuestionRecord(int)>& readQuestion,
                  const std::function<void(const SurveyLine&)>& line);

// Prints the laid-out questionnaire.
void PrintSurvey(platform::Printer& printer, int questionTotal,
                 const std::function<QuestionRecord(int)>& readQuestion);

}  // namespace editor
