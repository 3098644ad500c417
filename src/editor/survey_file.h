// The survey file (.ank): the fixed first line "TARVO", the question count, and for every
// question its answer count followed by its question and answer lines.
#pragma once

#include <QByteArray>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "editor/question_work_files.h"

namespace platform {
class TextFileReader;
class TextFileWriter;
}  // namespace platform

namespace editor {

// True only for the whole line "TARVO", letter case significant.
bool IsSurveyMagic(const QByteArray& line);

// Each pair of lines (the question and every answer) whose first line is empty gets its second
// line's text first and an empty second line, so a written file never starts a pair empty.
QuestionRecord NormalisePairs(QuestionRecord record);

// The question as a survey file holds it and reads it back: its pairs normalised and the answers
// after the last filled one left out (their lines empty).
QuestionRecord SavedQuestion(const QuestionRecord& record);

// Writes the whole survey: "TARVO", the count, then question 1 to `questionTotal` as given by
// `question`, each with its answer count and normalised pairs, answers after the last filled one
// left out.
void WriteSurvey(platform::TextFileWriter& file, int questionTotal,
                 const std::function<QuestionRecord(int number)>& question);

// The question count of line 2, kept in the 8 bits of the editor's counter.
std::uint8_t ReadQuestionCount(platform::TextFileReader& file);

// Reads one question block: the answer count K, then 2K + 2 lines into the record. Lines past
// the twentieth (a count above 9) are read and dropped, so the next block starts where it should;
// lines the block does not hold stay empty.
QuestionRecord ReadSurveyQuestion(platform::TextFileReader& file);

// The question count and every question block after it, read whole.
std::vector<QuestionRecord> ReadSurveyQuestions(platform::TextFileReader& file);

// The questions of a whole survey file, for the tools that show a questionnaire's texts beside
// its results; nothing when the file is missing, unreadable or not a survey file.
std::optional<std::vector<QuestionRecord>> ReadSurveyFile(const QString& path);

}  // namespace editor
