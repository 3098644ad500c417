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

}  // namespace

// Every number is judged as written, before it is stored in its field; the first one outside its
// range stops the reading, so that nothing is ever read past the tally's arrays or wrapped.
ResultsOutcome ReadResultsCounts(platform::TextFileReader& file, ResultsTally& counts,
                                 QByteArray* respondentsLine) {
    if (file.ReadLine() != kFirstLine) return ResultsOutcome::NotResultsFile;
    counts.SurveyName = file.ReadLine();
    const QByteArray respondentsText = file.ReadLine();
    if (respondentsLine) *respondentsLine = respondentsText;
    const long long respondents = platform::ParseNumber(respondentsText);
    if (!InRange(respondents, kMaxCount)) return ResultsOutcome::OutOfRange;
    counts.RespondentCount = static_cast<std::uint16_t>(respondents);

    const long long questions = file.ReadNumber();
    if (!InRange(questions, kMaxQuestions)) return ResultsOutcome::OutOfRange;
    counts.QuestionCount = static_cast<std::uint8_t>(questions);
    for (int q = 1; q <= counts.QuestionCount; ++q) {
        const long long answers = file.ReadNumber();
        if (!InRange(answers, kMaxAnswers)) return ResultsOutcome::OutOfRange;
        counts.AnswerCount[q] = static_cast<std::uint8_t>(answers);
        for (int a = 1; a <= counts.AnswerCount[q]; ++a) {
            const long long count = file.ReadNumber();
            if (!InRange(count, kMaxCount)) return ResultsOutcome::OutOfRange;
            counts.AnswerTally[q][a] = static_cast<std::uint16_t>(count);
        }
    }
    return ResultsOutcome::Loaded;
}

bool SameSurvey(const QByteArray& surveyName, std::uint8_t questionCount,
                const std::array<std::uint8_t, kMaxQuestions + 1>& answerCount,
                const ResultsTally& other) {
    // All three conditions are weighed in full before deciding.
    bool same = other.SurveyName == surveyName;
    same = other.QuestionCount == questionCount && same;
    for (int q = 1; q <= other.QuestionCount; ++q) {
        same = other.AnswerCount[q] == answerCount[q] && same;
    }
    return same;
}

QString OutcomeNotice(ResultsOutcome outcome) {
    switch (outcome) {
        case ResultsOutcome::NotResultsFile:
            return QStringLiteral("To nie jest plik wyników...");
        case ResultsOutcome::OtherSurvey:
            return QStringLiteral("Plik pochodzi z innej ankiety...");
        case ResultsOutcome::OutOfRange:
            return QStringLiteral("Plik zawiera liczby spoza dopuszczalnego zakresu...");
        case ResultsOutcome::SumTooLarge:
            return QStringLiteral("Suma wyników przekroczyłaby 65535, pliku nie dodano...");
        case ResultsOutcome::Loaded:
        case ResultsOutcome::Merged:
            break;
    }
    return {};
}

QString TextCutNotice() {
    return QStringLiteral(
        "Treść ankiety w tym pliku jest zbyt długa. Wczytano wszystkie wyniki, ale tylko początek "
        "treści ankiety; resztę pominięto i nie zostanie ona zapisana.");
}

namespace {

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
    // Read aside, put in place only when the whole file was read. Entries beyond the new bounds
    // keep their old values; they are outside the bounds and never used.
    ResultsTally read = store.Tally;
    QByteArray respondentsLine;
    const ResultsOutcome outcome = ReadResultsCounts(file, read, &respondentsLine);
    if (outcome != ResultsOutcome::Loaded) {
        file.Close();
        return {outcome, {}};
    }
    // Whole lines within the bounds; at the first line past one, the rest is left unread.
    QList<QByteArray> text;
    qsizetype textBytes = 0;
    bool cut = false;
    while (!file.AtEnd()) {
        if (text.size() == kMaxSurveyTextLines) {
            cut = true;
            break;
        }
        QByteArray line = file.ReadLine(kLongestSurveyTextLine + 1);
        textBytes += line.size();
        if (line.size() > kLongestSurveyTextLine || textBytes > kMaxSurveyTextBytes) {
            cut = true;
            break;
        }
        text.append(std::move(line));
    }
    file.Close();
    store.Tally = read;
    store.SurveyText = text;
    return {ResultsOutcome::Loaded, respondentsLine, cut};
}

void WriteResultsFile(const QString& path, const ResultsStore& store) {
    platform::WriteFileReplacing(
        path, [&](platform::TextFileWriter& file) { WriteResults(file, store); });
}

void WriteResults(platform::TextFileWriter& file, const ResultsStore& store) {
    const ResultsTally& tally = store.Tally;
    file.WriteLine(kFirstLine);
    file.WriteLine(tally.SurveyName);
    file.WriteNumber(tally.RespondentCount);
    file.WriteNumber(tally.QuestionCount);
    for (int q = 1; q <= tally.QuestionCount; ++q) {
        file.WriteNumber(tally.AnswerCount[q]);
        for (int a = 1; a <= tally.AnswerCount[q]; ++a) file.WriteNumber(tally.AnswerTally[q][a]);
    }
    for (const QByteArray& line : store.SurveyText) file.WriteLine(line);
}

ResultsOutcome MergeResultsFile(const QString& path, ResultsTally& tally) {
    platform::TextFileReader file(path);
    ResultsTally other;  // OtherTally: the file to be added; its text is not read
    const ResultsOutcome outcome = ReadResultsCounts(file, other);
    file.Close();
    if (outcome != ResultsOutcome::Loaded) return outcome;
    if (!SameSurvey(tally.SurveyName, tally.QuestionCount, tally.AnswerCount, other)) {
        return ResultsOutcome::OtherSurvey;
    }
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
