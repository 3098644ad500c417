// The statistics window's three channels of results of one questionnaire: the store, loading a
// results file into a channel, and the label a channel takes from its file's name.
#pragma once

#include <QByteArray>
#include <QString>
#include <array>
#include <cstdint>

#include "charts/chart_drawing.h"
#include "results/results_tally.h"

namespace stats {

constexpr int kChannels = 3;

struct Channel {
    bool IsLoaded = false;
    std::uint16_t RespondentCount = 0;  // line 3 of the file loaded into the channel
    // Indexed from 1 by question and answer; counts beyond the questionnaire carry no meaning.
    std::array<charts::AnswerTallies, results::kMaxQuestions + 1> AnswerTally{};

    friend bool operator==(const Channel&, const Channel&) = default;
};

// The one instance of the statistics window's results, owned by the statistics subsystem. The
// name, question count and answer counts are fixed by the first file loaded while no channel is
// loaded, and shared by every loaded channel. Emptying a channel keeps its stale counts.
struct ChannelStore {
    QByteArray SurveyName;
    std::uint8_t QuestionCount = 0;
    std::array<std::uint8_t, results::kMaxQuestions + 1> AnswerCount{};
    std::array<Channel, kChannels + 1> Channels{};  // channels 1..3; index 0 unused
    std::uint8_t ShownQuestion = 1;

    bool IsEmpty() const;
    // The number of answers of the shown question.
    int ShownAnswerCount() const;

    friend bool operator==(const ChannelStore&, const ChannelStore&) = default;
};

enum class LoadOutcome {
    FirstLoad,    // the file fixed the questionnaire
    FurtherLoad,  // the file matched the fixed questionnaire and replaced the channel's counts
    NotResultsFile,
    OutOfRange,   // more than 250 questions, more than 9 answers or a count above 65535
    OtherSurvey,  // another name, question count or answer count of some question
    NoQuestions,  // a first file without questions: nothing to show
};

// Reads the file's numeric part and, when it is accepted, puts it into channel `channel` (1..3),
// replacing what the channel held. A refused file changes nothing in the store; so does a
// failure while reading (IoError is thrown).
LoadOutcome LoadChannelFile(ChannelStore& store, int channel, const QString& path);

// The notice for a refused file; empty for the two loads.
QString LoadNotice(LoadOutcome outcome);

// The channel's label: the file's name without its folder, its extension replaced by a single
// "." ("klasa1.wyn" gives "klasa1.", "dane.2001.wyn" gives "dane.2001.").
QString ChannelLabel(const QString& path);

}  // namespace stats
