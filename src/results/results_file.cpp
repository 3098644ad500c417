// Reading, writing and merging results files, and deleting them.
#include "results/results_file.h"

#include "platform/file_names.h"
#include "platform/io_error.h"
#include "platform/text_file.h"

namespace results {
namespace {

const QByteArray kFirstLine = QByteArrayLiteral("RESULTS");
constexpr long long kMaxCount = 65535;

bool InRange(long long value, long long max) { return value >= 0 && value <= max; }

// Reads the lines after the first, up to the last tally, into `tally`. Every number is judged as
// written, before it is stored in its field; the first one outside its range stops the reading
// and gives false, so that nothing is ever read past the tally's arrays or wrapped.
bool ReadCounts(platform::TextFileReader& file, ResultsTally& tally, QByteArray& respondentsLine) {
    tally.SurveyName = file.ReadLine();
    respondentsLine = file.ReadLine();
    const long long respondents = platform::ParseNumber(respondentsLine);
    if (!InRange(respondents, kMaxCount)) return false;
    tally.RespondentCount = static_cast<std::uint16_t>(respondents);

    const long long questions = file.ReadNumber();
    if (!InRange(questions, kMaxQuestions)) return false;
    tally.QuestionCount = static_cast<std::uint8_t>(questions);
    for (int q = 1; q <= tally.QuestionCount; ++q) {
        const long long answers = file.ReadNumber();
        if (!InRange(answers, kMaxAnswers)) return false;
        tally.AnswerCount[q] = static_cast<std::uint8_t>(answers);
        for (int a = 1; a <= tally.AnswerCount[q]; ++a) {
            const long long count = file.ReadNumber();
            if (!InRange(count, kMaxCount)) return false;
            tally.AnswerTally[q][a] = static_cast<std::uint16_t>(count);
        }
    }
    return true;
}

// All three conditions are weighed in full before deciding.
bool SameSurvey(const ResultsTally& tally, const ResultsTally& other) {
    bool same = other.SurveyName == tally.SurveyName;
    same = other.QuestionCount == tally.QuestionCount && same;
    for (int q = 1; q <= other.QuestionCount; ++q) {
        same = other.AnswerCount[q] == tally.AnswerCount[q] && same;
    }
    return same;
}

bool SumsTooLarge(const ResultsTally& tally, const ResultsTally& other) {
    if (tally.RespondentCount + other.RespondentCount > kMaxCount) return true;
    for (int q = 1; q <= tally.QuestionCount; ++q) {
        for (int a = 1; a <= tally.AnswerCount[q]; ++a) {
            if (tally.AnswerTally[q][a] + other.AnswerTally[q][a] > kMaxCount) return true;
        }
    }
    return false;
}

}  // namespace

ReadResult ReadResultsFile(const QString& path, ResultsStore& store) {
    platform::TextFileReader file(path);
    if (file.ReadLine() != kFirstLine) {
        file.Close();
        return {ResultsOutcome::NotResultsFile, {}};
    }
    // Read aside, put in place only when the whole file was read. Entries beyond the new bounds
    // keep their old values; they are outside the bounds and never used.
    ResultsTally read = store.Tally;
    QByteArray respondentsLine;
    if (!ReadCounts(file, read, respondentsLine)) {
        file.Close();
        return {ResultsOutcome::OutOfRange, {}};
    }
    QList<QByteArray> text;
    while (!file.AtEnd()) text.append(file.ReadLine());
    file.Close();
    store.Tally = read;
    store.SurveyText = text;
    return {ResultsOutcome::Loaded, respondentsLine};
}

void WriteResultsFile(const QString& path, const ResultsStore& store) {
    const ResultsTally& tally = store.Tally;
    platform::WriteFileReplacing(path, [&](platform::TextFileWriter& file) {
        file.WriteLine(kFirstLine);
        file.WriteLine(tally.SurveyName);
        file.WriteNumber(tally.RespondentCount);
        file.WriteNumber(tally.QuestionCount);
        for (int q = 1; q <= tally.QuestionCount; ++q) {
            file.WriteNumber(tally.AnswerCount[q]);
            for (int a = 1; a <= tally.AnswerCount[q]; ++a) {
                file.WriteNumber(tally.AnswerTally[q][a]);
            }
        }
        for (const QByteArray& line : store.SurveyText) file.WriteLine(line);
    });
}

ResultsOutcome MergeResultsFile(const QString& path, ResultsTally& tally) {
    platform::TextFileReader file(path);
    if (file.ReadLine() != kFirstLine) {
        file.Close();
        return ResultsOutcome::NotResultsFile;
    }
    ResultsTally other;  // OtherTally: the file to be added; its text is not read
    QByteArray respondentsLine;
    const bool usable = ReadCounts(file, other, respondentsLine);
    file.Close();
    if (!usable) return ResultsOutcome::OutOfRange;
    if (!SameSurvey(tally, other)) return ResultsOutcome::OtherSurvey;
    // A 16-bit sum would wrap to a plainly wrong count: refused before anything is added.
    if (SumsTooLarge(tally, other)) return ResultsOutcome::SumTooLarge;

    for (int q = 1; q <= tally.QuestionCount; ++q) {
        for (int a = 1; a <= tally.AnswerCount[q]; ++a) {
            std::uint16_t& count = tally.AnswerTally[q][a];
            count = static_cast<std::uint16_t>(count + other.AnswerTally[q][a]);
        }
    }
    tally.RespondentCount =
        static_cast<std::uint16_t>(tally.RespondentCount + other.RespondentCount);
    return ResultsOutcome::Merged;
}

bool IsResultsFile(const platform::FilePath& path) {
    platform::TextFileReader file(path);
    // One byte more than the first line tells a longer line apart.
    const bool results = file.ReadLine(kFirstLine.size() + 1) == kFirstLine;
    file.Close();
    return results;
}

void DeleteResultsFile(const platform::FilePath& path) { platform::RemoveFile(path); }

void DeleteAllResultsFiles(const QString& folder) {
    for (const QByteArray& entry : platform::ListFolder(folder, QStringLiteral("*.WYN"))) {
        const platform::FilePath path = platform::EntryPath(folder, entry);
        if (IsResultsFile(path)) DeleteResultsFile(path);
    }
}

}  // namespace results
