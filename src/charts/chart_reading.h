// What a screen reader reads of the charts: the chart's name with the question shown, the base
// of its percentages, and one item per answer ("A: 30 %, 12 ankietowanych"), made from the very
// values the drawing of the picture took.
#pragma once

#include <QColor>
#include <QString>
#include <cstdint>

#include "charts/bar_chart.h"
#include "charts/chart_drawing.h"
#include "charts/multi_chart.h"
#include "platform/accessibility.h"
#include "results/results_tally.h"

namespace charts {

// "pytanie 3 z 20".
QString QuestionOfReading(int question, int questionCount);
// "12 ankietowanych", "1 ankietowany".
QString RespondentsReading(int count);
// An answer's item: its capital letter, what the bar stands for when the chart has several at an
// answer (`of`, such as "kanał 1 (klasa1.)"), the percentage as the picture shows it and how many
// chose it: "A: 30 %, 12 ankietowanych", "A, kanał 1 (klasa1.): 30 %, 12 ankietowanych".
QString AnswerReading(int answer, double percent, int chosen, const QString& of = {});
// What 100 percent stands for: "procent z 40 ankietowanych" or "procent z 38 odpowiedzi".
QString BaseReading(PercentBase base, int divisor);

// A colour box's colour: "kolor RGB 255, 0, 0".
QString ColourReading(QColor colour);

platform::Reading ReadBarChart(const results::ResultsTally& tally, const BarChartShares& shares,
                               PercentBase base);
// The pie or stripe chart, named `chartName` ("Wykres kołowy").
platform::Reading ReadSharesChart(const QString& chartName, const results::ResultsTally& tally,
                                  const AnswerShares& shares);
// One item per bar, from left to right: "A, seria 1, pytanie 3: 30 %, 12 ankietowanych".
platform::Reading ReadMultiChart(const results::ResultsTally& tally, const MultiChartValues& values,
                                 PercentBase base);

}  // namespace charts
