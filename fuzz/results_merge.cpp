// Fuzz target: adding a results file to loaded results. The input up to its first byte 1A is the
// file loaded first (a reader sees nothing past that byte anyway), the rest is the file added.
// Every refusal leaves the tally exactly as it was; an addition gives the exact sums.
#include <algorithm>

#include "fuzz_support.h"
#include "results/results_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray input = fuzz::Bytes(data, size);
    const qsizetype split = input.indexOf('\x1A');
    const QString loadedPath = fuzz::FilePath("loaded.wyn");
    const QString addedPath = fuzz::FilePath("added.wyn");
    fuzz::WriteBytes(loadedPath, split < 0 ? input : input.left(split));
    fuzz::WriteBytes(addedPath, split < 0 ? QByteArray() : input.mid(split + 1));

    results::ResultsStore loaded;
    if (results::ReadResultsFile(loadedPath, loaded).outcome != results::ResultsOutcome::Loaded) return 0;
    // The added file as the reader sees it: the reference the merge is judged by.
    results::ResultsStore added;
    const results::ResultsOutcome addedRead = results::ReadResultsFile(addedPath, added).outcome;
    const results::ResultsTally& other = added.Tally;

    const results::ResultsTally before = loaded.Tally;
    results::ResultsTally tally = before;
    const results::ResultsOutcome outcome = results::MergeResultsFile(addedPath, tally);

    results::ResultsOutcome expected = results::ResultsOutcome::Merged;
    if (addedRead != results::ResultsOutcome::Loaded) {
        expected = addedRead;
    } else {
        bool same = other.SurveyName == before.SurveyName && other.QuestionCount == before.QuestionCount;
        for (int q = 1; same && q <= before.QuestionCount; ++q) {
            same = other.AnswerCount[q] == before.AnswerCount[q];
        }
        if (!same) {
            expected = results::ResultsOutcome::OtherSurvey;
        } else {
            int largest = before.RespondentCount + other.RespondentCount;
            for (int q = 1; q <= before.QuestionCount; ++q) {
                for (int a = 1; a <= before.AnswerCount[q]; ++a) {
                    largest = std::max(largest, before.AnswerTally[q][a] + other.AnswerTally[q][a]);
                }
            }
            if (largest > 65535) expected = results::ResultsOutcome::SumTooLarge;
        }
    }
    FUZZ_CHECK(outcome == expected);
    if (outcome != results::ResultsOutcome::Merged) {
        FUZZ_CHECK(tally == before);
        return 0;
    }
    // Only the counts within the bounds change, each to the exact sum.
    FUZZ_CHECK(tally.SurveyName == before.SurveyName && tally.QuestionCount == before.QuestionCount &&
               tally.AnswerCount == before.AnswerCount);
    FUZZ_CHECK(tally.RespondentCount == before.RespondentCount + other.RespondentCount);
    for (int q = 0; q <= results::kMaxQuestions; ++q) {
        for (int a = 0; a <= results::kMaxAnswers; ++a) {
            const bool within = q >= 1 && q <= before.QuestionCount && a >= 1 && a <= before.AnswerCount[q];
            FUZZ_CHECK(tally.AnswerTally[q][a] ==
                       (within ? before.AnswerTally[q][a] + other.AnswerTally[q][a] : before.AnswerTally[q][a]));
        }
    }
    return 0;
}
