// The charts' readings.
#include "charts/chart_reading.h"

namespace charts {

QString QuestionOfReading(int question, int questionCount) {
    return QStringLiteral("pytanie %1 z %2").arg(question).arg(questionCount);
}

QString RespondentsReading(int count) {
    return count == 1 ? QStringLiteral("1 ankietowany")
                      : QStringLiteral("%1 ankietowanych").arg(count);
}

QString AnswerReading(int answer, double percent, int chosen, const QString& of) {
    // In one pass: `of` may hold a file name with "%" in it.
    return QStringLiteral("%1%2: %3 %, %4")
        .arg(QString(QChar(u'A' + answer - 1)),
             of.isEmpty() ? QString() : QStringLiteral(", ") + of,
             QString::number(ShownPercent(percent)), RespondentsReading(chosen));
}

QString BaseReading(PercentBase base, int divisor) {
    if (base == PercentBase::Answers) return QStringLiteral("procent z %1 odpowiedzi").arg(divisor);
    return divisor == 1 ? QStringLiteral("procent z 1 ankietowanego")
                        : QStringLiteral("procent z %1 ankietowanych").arg(divisor);
}

QString ColourReading(QColor colour) {
    return QStringLiteral("kolor RGB %1, %2, %3")
        .arg(colour.red())
        .arg(colour.green())
        .arg(colour.blue());
}

platform::Reading ReadBarChart(const results::ResultsTally& tally, const BarChartShares& shares,
                               PercentBase base) {
    const int q = shares.Question;
    platform::Reading reading;
    reading.name = QStringLiteral("Wykres słupkowy, ") + QuestionOfReading(q, tally.QuestionCount);
    reading.description = BaseReading(
        base, base == PercentBase::Answers ? AnswerSumOf(tally, q) : tally.RespondentCount);
    for (int a = 1; a <= shares.AnswerCount; ++a) {
        reading.items << AnswerReading(a, shares.Percent[a], tally.AnswerTally[q][a]);
    }
    return reading;
}

platform::Reading ReadSharesChart(const QString& chartName, const results::ResultsTally& tally,
                                  const AnswerShares& shares) {
    const int q = shares.Question;
    platform::Reading reading;
    reading.name = chartName + QStringLiteral(", ") + QuestionOfReading(q, tally.QuestionCount);
    reading.description = BaseReading(PercentBase::Answers, shares.AnswerSum);
    for (int a = 1; a <= shares.AnswerCount; ++a) {
        reading.items << AnswerReading(a, shares.Percent[a], tally.AnswerTally[q][a]);
    }
    return reading;
}

platform::Reading ReadMultiChart(const results::ResultsTally& tally, const MultiChartValues& values,
                                 PercentBase base) {
    const PerSeries<std::uint8_t>& q = values.SeriesQuestion;
    platform::Reading reading;
    reading.name = QStringLiteral("Wykres Multi, pytania %1, %2 i %3 z %4")
                       .arg(q[1])
                       .arg(q[2])
                       .arg(q[3])
                       .arg(tally.QuestionCount);
    reading.description = base == PercentBase::Answers
                              ? QStringLiteral("procent z odpowiedzi na każde z pytań")
                              : BaseReading(base, tally.RespondentCount);
    // As the groups stand on the picture: answer by answer, each with the bars of its series.
    for (int a = 1; a <= values.MaxAnswers; ++a) {
        for (int s = 1; s <= 3; ++s) {
            if (a > values.AnswerCounts[s]) continue;
            reading.items << AnswerReading(a, values.SeriesValue[s][a], tally.AnswerTally[q[s]][a],
                                           QStringLiteral("seria %1, pytanie %2").arg(s).arg(q[s]));
        }
    }
    return reading;
}

}  // namespace charts
