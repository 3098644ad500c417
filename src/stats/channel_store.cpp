// Loading results files into the channels of the statistics window.
#include "stats/channel_store.h"

#include <algorithm>

#include "platform/file_names.h"
#include "platform/text_file.h"
#include "results/results_file.h"

namespace stats {

bool ChannelStore::IsEmpty() const {
    return std::none_of(Channels.begin() + 1, Channels.end(),
                        [](const Channel& channel) { return channel.IsLoaded; });
}

int ChannelStore::ShownAnswerCount() const {
    if (ShownQuestion < 1 || ShownQuestion > QuestionCount) return 0;
    return std::min<int>(AnswerCount[ShownQuestion], results::kMaxAnswers);
}

LoadOutcome LoadChannelFile(ChannelStore& store, int channel, const QString& path) {
    // The whole numeric part is read aside before anything is decided or changed.
    results::ResultsTally read;
    platform::TextFileReader file(path);
    const results::ResultsOutcome outcome = results::ReadResultsCounts(file, read);
    file.Close();
    if (outcome == results::ResultsOutcome::NotResultsFile) return LoadOutcome::NotResultsFile;
    if (outcome != results::ResultsOutcome::Loaded) return LoadOutcome::OutOfRange;

    const bool first = store.IsEmpty();
    if (first) {
        // The question selector cannot stand on a questionnaire without questions.
        if (read.QuestionCount == 0) return LoadOutcome::NoQuestions;
        store.SurveyName = read.SurveyName;
        store.QuestionCount = read.QuestionCount;
        store.AnswerCount = read.AnswerCount;
    } else if (!results::SameSurvey(store.SurveyName, store.QuestionCount, store.AnswerCount,
                                    read)) {
        return LoadOutcome::OtherSurvey;
    }
    Channel& target = store.Channels[channel];
    target.RespondentCount = read.RespondentCount;
    for (int q = 1; q <= store.QuestionCount; ++q) target.AnswerTally[q] = read.AnswerTally[q];
    target.IsLoaded = true;
    return first ? LoadOutcome::FirstLoad : LoadOutcome::FurtherLoad;
}

QString LoadNotice(LoadOutcome outcome) {
    switch (outcome) {
        case LoadOutcome::NotResultsFile:
            return results::OutcomeNotice(results::ResultsOutcome::NotResultsFile);
        case LoadOutcome::OutOfRange:
            return results::OutcomeNotice(results::ResultsOutcome::OutOfRange);
        case LoadOutcome::OtherSurvey:
            return results::OutcomeNotice(results::ResultsOutcome::OtherSurvey);
        case LoadOutcome::NoQuestions:
            return QStringLiteral("Plik nie zawiera żadnego pytania...");
        case LoadOutcome::FirstLoad:
        case LoadOutcome::FurtherLoad:
            break;
    }
    return {};
}

QString ChannelLabel(const QString& path) {
    return platform::ReplaceExtension(platform::FileNamePart(path), QStringLiteral("."));
}

}  // namespace stats
