// Fuzz target: the statistics window's channel loading. The input is a series of steps separated
// by bytes 1A (a reader sees nothing past that byte anyway); a step's first byte names a channel
// and either empties it, as the window's reset does, or loads the rest of the step into it as a
// results file. The first file of an empty store fixes the questionnaire, a further one must match
// it and replaces only its channel's counts, and every refusal leaves the store as it was.
#include "fuzz_support.h"
#include "results/results_file.h"
#include "stats/channel_store.h"

namespace {

bool SameQuestionnaire(const stats::ChannelStore& store, const results::ResultsTally& file) {
    if (file.SurveyName != store.SurveyName || file.QuestionCount != store.QuestionCount) return false;
    for (int q = 1; q <= file.QuestionCount; ++q) {
        if (file.AnswerCount[q] != store.AnswerCount[q]) return false;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString path = fuzz::FilePath("channel.wyn");
    stats::ChannelStore store;
    for (const QByteArray& step : fuzz::Bytes(data, size).split('\x1A')) {
        if (step.isEmpty()) continue;
        const auto command = static_cast<std::uint8_t>(step[0]);
        const int channel = command % stats::kChannels + 1;
        if (command & 0x80) {
            store.Channels[channel].IsLoaded = false;
            continue;
        }
        fuzz::WriteBytes(path, step.mid(1));
        results::ResultsStore file;  // the file as the results manager's reader sees it
        const results::ResultsOutcome read = results::ReadResultsFile(path, file).outcome;
        const stats::ChannelStore before = store;
        const bool wasEmpty = store.IsEmpty();
        const stats::LoadOutcome outcome = stats::LoadChannelFile(store, channel, path);

        stats::LoadOutcome expected = wasEmpty ? stats::LoadOutcome::FirstLoad : stats::LoadOutcome::FurtherLoad;
        if (read == results::ResultsOutcome::NotResultsFile) {
            expected = stats::LoadOutcome::NotResultsFile;
        } else if (read != results::ResultsOutcome::Loaded) {
            expected = stats::LoadOutcome::OutOfRange;
        } else if (wasEmpty && file.Tally.QuestionCount == 0) {
            expected = stats::LoadOutcome::NoQuestions;
        } else if (!wasEmpty && !SameQuestionnaire(before, file.Tally)) {
            expected = stats::LoadOutcome::OtherSurvey;
        }
        FUZZ_CHECK(outcome == expected);
        if (outcome != stats::LoadOutcome::FirstLoad && outcome != stats::LoadOutcome::FurtherLoad) {
            FUZZ_CHECK(store == before);
            continue;
        }
        // The questionnaire is the file's on a first load and stays as it was on a further one.
        FUZZ_CHECK(SameQuestionnaire(store, file.Tally));
        if (!wasEmpty) {
            FUZZ_CHECK(store.SurveyName == before.SurveyName && store.QuestionCount == before.QuestionCount &&
                       store.AnswerCount == before.AnswerCount);
        }
        FUZZ_CHECK(store.QuestionCount >= 1 && store.QuestionCount <= results::kMaxQuestions);
        // Only the loaded channel changes, to the file's counts.
        for (int other = 1; other <= stats::kChannels; ++other) {
            if (other != channel) FUZZ_CHECK(store.Channels[other] == before.Channels[other]);
        }
        const stats::Channel& loaded = store.Channels[channel];
        FUZZ_CHECK(loaded.IsLoaded && loaded.RespondentCount == file.Tally.RespondentCount);
        for (int q = 1; q <= store.QuestionCount; ++q) {
            for (int a = 1; a <= store.AnswerCount[q]; ++a) {
                FUZZ_CHECK(loaded.AnswerTally[q][a] == file.Tally.AnswerTally[q][a]);
            }
        }
        FUZZ_CHECK(store.ShownAnswerCount() >= 0 && store.ShownAnswerCount() <= results::kMaxAnswers);
    }
    return 0;
}
