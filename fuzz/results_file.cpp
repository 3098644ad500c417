// Fuzz target: reading a results file, and writing what was read back. A refused file leaves the
// loaded results as they were; a loaded one, written and read again, gives the same tally and
// text, and writing that again gives the same bytes.
#include "fuzz_support.h"
#include "platform/text_file.h"
#include "results/results_file.h"

namespace {

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
    FUZZ_CHECK(results::IsResultsFile(input) == (read.outcome != results::ResultsOutcome::NotResultsFile));
    if (read.outcome != results::ResultsOutcome::Loaded) {
        FUZZ_CHECK(read.outcome == results::ResultsOutcome::NotResultsFile ||
                   read.outcome == results::ResultsOutcome::OutOfRange);
        FUZZ_CHECK(store.Tally == earlier.Tally && store.SurveyText == earlier.SurveyText);
        return 0;
    }
    const results::ResultsTally& tally = store.Tally;
    FUZZ_CHECK(tally.QuestionCount <= results::kMaxQuestions);
    for (int q = 1; q <= tally.QuestionCount; ++q) FUZZ_CHECK(tally.AnswerCount[q] <= results::kMaxAnswers);
    FUZZ_CHECK(platform::ParseNumber(read.respondentsLine) == tally.RespondentCount);

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
