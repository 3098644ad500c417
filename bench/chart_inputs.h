// What the chart benchmarks draw and print: questions of nine answers with different counts, and
// three channels of nine answers for the comparison.
#pragma once

#include <QByteArray>
#include <QColor>
#include <array>

#include "results/results_tally.h"
#include "stats/comparison_chart.h"

namespace bench {

inline results::ResultsTally NineAnswerTally(int questions = 3) {
    results::ResultsTally tally;
    tally.SurveyName = "Ankieta";
    tally.RespondentCount = 120;
    tally.QuestionCount = static_cast<std::uint8_t>(questions);
    for (int q = 1; q <= questions; ++q) {
        tally.AnswerCount[q] = 9;
        for (int a = 1; a <= 9; ++a) tally.AnswerTally[q][a] = static_cast<std::uint16_t>(a * 5 + q * 7);
    }
    return tally;
}

// One question of nine answers in all three channels, each switched on in its own colour.
struct ThreeChannels {
    ThreeChannels() {
        store.SurveyName = "Ankieta";
        store.QuestionCount = 1;
        store.AnswerCount[1] = 9;
        const std::array<QRgb, 4> colours{0, 0xFF0000, 0x00FF00, 0x0000FF};
        for (int c = 1; c <= stats::kChannels; ++c) {
            stats::Channel& channel = store.Channels[c];
            channel.IsLoaded = true;
            channel.RespondentCount = 120;
            for (int a = 1; a <= 9; ++a) channel.AnswerTally[1][a] = static_cast<std::uint16_t>(a * 5 + c);
            looks[c] = {true, QColor(colours[c]), "klasa" + QByteArray::number(c) + "."};
        }
    }
    stats::ChannelStore store;
    stats::ChannelLooks looks;
};

}  // namespace bench
