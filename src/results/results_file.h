// The results file (.wyn): reading it into the program's results, adding a further file of the
// same questionnaire to the tally, writing the results back, and finding and deleting results
// files by their first line.
#pragma once

#include <QByteArray>
#include <QString>

#include "platform/file_names.h"
#include "results/results_tally.h"

namespace platform {
class TextFileReader;
class TextFileWriter;
}  // namespace platform

namespace results {

enum class ResultsOutcome {
    Loaded,
    Merged,
    NotResultsFile,  // the first line is not "RESULTS"
    OtherSurvey,     // another name, question count or number of answers to some question
    OutOfRange,      // a number lies outside its field's range
    SumTooLarge,     // a sum of the merge would pass 65535
};

// How much of the questionnaire's text a results file may bring in. A survey of 250 questions,
// each of two lines and nine answers of two lines, is about 5,000 lines of at most 60 characters
// (300 KB); these bounds lie far above that, and keep the text window quick and small for any
// file the reader takes (a 64 MiB file of empty lines would otherwise be 67 million lines).
constexpr int kMaxSurveyTextLines = 20000;
constexpr qsizetype kMaxSurveyTextBytes = 2 * 1024 * 1024;
constexpr qsizetype kLongestSurveyTextLine = 1000;

struct ReadResult {
    ResultsOutcome outcome = ResultsOutcome::NotResultsFile;
    QByteArray respondentsLine;  // on Loaded: the third line exactly as read, for the caption
    // On Loaded: the text went on past a bound above, and from the line that would pass it on,
    // the rest of the text was left out.
    bool textCut = false;
};

// The one reader of a results file's first line and numeric part (name, respondents, question
// count, answer counts and tallies), used by the results manager and the statistics window; the
// text after the counts stays unread. Loaded, NotResultsFile, or OutOfRange for a file of more
// than 250 questions, more than 9 answers to a question or a count above 65535. On any outcome
// but Loaded `counts` may hold part of the file. Input/output failures throw IoError.
ResultsOutcome ReadResultsCounts(platform::TextFileReader& file, ResultsTally& counts,
                                 QByteArray* respondentsLine = nullptr);

// True when `other` is of the questionnaire given by the name, question count and answer counts:
// the name byte for byte, the question count, and the answer count of every question of `other`.
bool SameSurvey(const QByteArray& surveyName, std::uint8_t questionCount,
                const std::array<std::uint8_t, kMaxQuestions + 1>& answerCount,
                const ResultsTally& other);

// The notice shown for a file that is refused; empty for Loaded and Merged.
QString OutcomeNotice(ResultsOutcome outcome);
// The notice shown once a file is loaded whose text was cut (ReadResult::textCut).
QString TextCutNotice();

// Replaces the tally and the survey text with the file's; any outcome but Loaded, and any
// failure while reading, leaves both as they were. The text is kept in whole lines up to the
// bounds above; what follows is not read. Input/output failures throw IoError.
ReadResult ReadResultsFile(const QString& path, ResultsStore& store);

// Writes the tally and the survey text; an existing file of that name is replaced only once the
// new one is written completely.
void WriteResultsFile(const QString& path, const ResultsStore& store);
// The lines of a results file, written into an open file.
void WriteResults(platform::TextFileWriter& file, const ResultsStore& store);

// Adds the counts of a further file of the same questionnaire: Merged, or one of
// NotResultsFile, OtherSurvey, OutOfRange and SumTooLarge with the tally unchanged.
ResultsOutcome MergeResultsFile(const QString& path, ResultsTally& tally);

// True when the first line of the file is exactly "RESULTS"; only its first bytes are read.
bool IsResultsFile(const platform::FilePath& path);

// Deletes a file; a file that stays is a failure (IoError with the system's reason).
void DeleteResultsFile(const platform::FilePath& path);

// Deletes the results files among the entries of `folder` (not below it) named *.wyn in any
// letter case, whatever bytes their names are made of; others are kept. An entry that cannot be opened, such as a folder, ends the
// deleting with its IoError; what was deleted before stays deleted.
void DeleteAllResultsFiles(const QString& folder);

}  // namespace results
