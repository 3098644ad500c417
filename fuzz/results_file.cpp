// Fuzz target: reading a results file, against a plain reading of its format field by field, and
// writing what was read back. A refused file leaves the loaded results as they were; a loaded
// one, written and read again, gives the same tally and text, and writing that again gives the
// same bytes.
#include <vector>

#include "fuzz_support.h"
#include "platform/text_file.h"
#include "reference_reading.h"
#include "results/results_file.h"

namespace {

using results::ResultsOutcome;

// A results file as its format states it, read from the file's plain lines: "RESULTS", the name,
// the respondents, the question count, then per question its answer count and one count per
// answer, each number within its field; then the text, every line to the end of the file, kept
// whole while there are at most kMaxSurveyTextLines lines, none longer than
// kLongestSurveyTextLine bytes, kMaxSurveyTextBytes in all.
struct ReferenceResults {
    ResultsOutcome outcome = ResultsOutcome::NotResultsFile;
    QByteArray name, respondentsLine;
    long long respondents = 0;
    std::vector<std::vector<long long>> counts;  // counts[q - 1][a - 1]
    QList<QByteArray> text;
    bool cut = false;
};

ReferenceResults ReferenceRead(const QByteArray& bytes) {
    const QList<QByteArray> lines = fuzz::ReferenceLines(bytes);
    qsizetype at = 0;
    const auto line = [&] { return fuzz::LineAt(lines, at++); };
    const auto number = [&](long long& value, long long largest) {
        value = fuzz::ReferenceNumber(line());
        return value >= 0 && value <= largest;
    };
    ReferenceResults file;
    if (line() != "RESULTS") return file;
    file.outcome = ResultsOutcome::OutOfRange;
    file.name = line();
    file.respondentsLine = fuzz::LineAt(lines, at);
    long long questions = 0, answers = 0, count = 0;
    if (!number(file.respondents, 65535) || !number(questions, results::kMaxQuestions)) return file;
    for (long long q = 0; q < questions; ++q) {
        if (!number(answers, results::kMaxAnswers)) return file;
        file.counts.emplace_back();
        for (long long a = 0; a < answers; ++a) {
            if (!number(count, 65535)) return file;
            file.counts.back().push_back(count);
        }
    }
    file.outcome = ResultsOutcome::Loaded;
    qsizetype textBytes = 0;
    for (; at < lines.size(); ++at) {
        textBytes += lines[at].size();
        if (file.text.size() == results::kMaxSurveyTextLines ||
            lines[at].size() > results::kLongestSurveyTextLine ||
            textBytes > results::kMaxSurveyTextBytes) {
            file.cut = true;
            break;
        }
        file.text.append(lines[at]);
    }
    return file;
}

// Results that were loaded before, so that a refusal that changes anything shows.
results::ResultsStore EarlierResults() {
    results::ResultsStore store;
    store.Tally.SurveyName = "Earlier";
    store.Tally.RespondentCount = 7;
    store.Tally.QuestionCount = 2;
    store.Tally.AnswerCount = {0, 3, 9};
    for (int a = 1; a <= 9; ++a) store.Tally.AnswerTally[2][a] = static_cast<std::uint16_t>(a);
    store.Tally.AnswerTally[1] = {0, 5, 4, 3};
    store.SurveyText = {"Question one", "", "Question two"};
    return store;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString input = fuzz::FilePath("input.wyn");
    const QString written = fuzz::FilePath("written.wyn");
    const QString rewritten = fuzz::FilePath("rewritten.wyn");
    fuzz::WriteBytes(input, fuzz::Bytes(data, size));

    const results::ResultsStore earlier = EarlierResults();
    results::ResultsStore store = earlier;
    const results::ReadResult read = results::ReadResultsFile(input, store);
    const ReferenceResults expected = ReferenceRead(fuzz::Bytes(data, size));
    FUZZ_CHECK(read.outcome == expected.outcome);
    FUZZ_CHECK(results::IsResultsFile(input) == (read.outcome != ResultsOutcome::NotResultsFile));
    if (read.outcome != ResultsOutcome::Loaded) {
        FUZZ_CHECK(store.Tally == earlier.Tally && store.SurveyText == earlier.SurveyText);
        return 0;
    }
    const results::ResultsTally& tally = store.Tally;
    FUZZ_CHECK(tally.SurveyName == expected.name &&
               read.respondentsLine == expected.respondentsLine);
    FUZZ_CHECK(tally.RespondentCount == expected.respondents);
    FUZZ_CHECK(tally.QuestionCount == expected.counts.size());
    for (int q = 1; q <= tally.QuestionCount; ++q) {
        const std::vector<long long>& counts = expected.counts[static_cast<std::size_t>(q - 1)];
        FUZZ_CHECK(tally.AnswerCount[q] == counts.size());
        for (int a = 1; a <= tally.AnswerCount[q]; ++a) {
            FUZZ_CHECK(tally.AnswerTally[q][a] == counts[static_cast<std::size_t>(a - 1)]);
        }
    }
    FUZZ_CHECK(store.SurveyText == expected.text && read.textCut == expected.cut);

    results::WriteResultsFile(written, store);
    results::ResultsStore again = earlier;
    const results::ReadResult reread = results::ReadResultsFile(written, again);
    FUZZ_CHECK(reread.outcome == results::ResultsOutcome::Loaded);
    FUZZ_CHECK(again.Tally == store.Tally);
    FUZZ_CHECK(again.SurveyText == store.SurveyText);
    FUZZ_CHECK(reread.respondentsLine == QByteArray::number(tally.RespondentCount));

    results::WriteResultsFile(rewritten, again);
    FUZZ_CHECK(fuzz::ReadBytes(rewritten) == fuzz::ReadBytes(written));
    return 0;
}
