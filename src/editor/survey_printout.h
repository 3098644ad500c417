// The survey printout: the questionnaire as numbered questions with lettered answers, line by
// line on portrait pages of the current printer.
#pragma once

#include <functional>

#include "editor/question_work_files.h"

namespace platform {
class Printer;
}

namespace editor {

// Prints a header with the number of questions, then questions 1..questionTotal, each read by
// `readQuestion` when its turn comes.
void PrintSurvey(platform::Printer& printer, int questionTotal,
                 const std::function<QuestionRecord(int)>& readQuestion);

}  // namespace editor
