// The sheets to tick, printed: numbered copies of the questionnaire laid out for the reader of
// scans, each copy as many A4 portrait pages as it needs, all copies one printout.
#pragma once

#include <QByteArray>
#include <vector>

#include "editor/question_work_files.h"
#include "results/results_tally.h"

namespace platform {
class Printer;
class Progress;
}  // namespace platform

namespace scan {

// A questionnaire as its sheets show it: the name on every page, the questions' texts, and the
// answer counts and fingerprint that results made from its survey file have.
struct SheetSurvey {
    QByteArray name;  // Windows-1250
    std::vector<editor::QuestionRecord> questions;
    results::ResultsTally tally;
    QByteArray fingerprint;
};

// The sheets of a survey file with these questions, named `name` on the paper. At most
// kMaxQuestions questions (the caller refuses more).
SheetSurvey SheetSurveyOf(const QByteArray& name,
                          const std::vector<editor::QuestionRecord>& questions);

// Prints `copies` sheets numbered from `firstSheet` as one printout of one job; false when the
// progress was stopped (the pages printed so far still go out).
bool PrintScanSheets(platform::Printer& printer, const SheetSurvey& survey, int firstSheet,
                     int copies, platform::Progress& progress);

}  // namespace scan
