// What the chart drawings share: the answer colours on screen and on paper, clearing a picture,
// the answers' shares of a question and the labels of answers and percentages.
#pragma once

#include <QByteArray>
#include <QColor>
#include <QImage>
#include <array>
#include <cstdint>

#include "results/results_tally.h"

namespace platform {
class Canvas;
class Dialogs;
}

namespace charts {

constexpr QRgb kSilver = 0xC0C0C0;
constexpr QRgb kMaroon = 0x800000;  // never drawn by a chart: the border of ClearPicture
constexpr QRgb kGridGrey = 0x999999;

// Colours of the answers a..i, indexed from 1 like the answers; index 0 is unused.
constexpr std::array<QRgb, results::kMaxAnswers + 1> AnswerColours{
    0, 0x0000FF, 0xFF0000, 0xFFFF00, 0x00FF00, 0xFF00FF, 0x9F90FF, 0x00FFFF, 0x8080FF, 0xFF8F00};
// On paper answer a is printed in a red that shows better than blue does.
constexpr std::array<QRgb, results::kMaxAnswers + 1> PrintAnswerColours{
    0, 0xFF3000, 0xFF0000, 0xFFFF00, 0x00FF00, 0xFF00FF, 0x9F90FF, 0x00FFFF, 0x8080FF, 0xFF8F00};

// The divisor of percentages: the respondents ("/ilość ank.") or the answers given to the
// question ("/ilość odp.").
enum class PercentBase { Respondents, Answers };

using Percentages = std::array<double, results::kMaxAnswers + 1>;  // indexed from 1
// The counts of a question's answers, indexed from 1 like the answers.
using AnswerTallies = std::array<std::uint16_t, results::kMaxAnswers + 1>;

// A question's answers as shares of the answers given to it, kept from one drawing of the pie or
// stripe chart to the next so that the printout shows what the picture shows.
struct AnswerShares {
    int Question = 0;
    int AnswerCount = 0;
    std::int32_t AnswerSum = 0;  // the answers given to the question
    Percentages Percent{};       // of AnswerSum; all 0 when nobody answered
};

// A new picture of a chart window: RGB32, silver until something draws on it.
QImage BlankPicture(QSize size);

// Makes the whole picture silver: a flood fill from (x, y) up to a maroon border, which no
// chart draws.
void ClearPicture(platform::Canvas& canvas, int x, int y);

// The number of answers of a question; 0 for a number outside 1..QuestionCount, whatever counts
// the tally still keeps there. Every reading of the tally's counts goes through it.
int AnswerCountOf(const results::ResultsTally& tally, int question);
// The sum of the tallies of the question's answers.
std::int32_t AnswerSumOf(const results::ResultsTally& tally, int question);
std::int32_t AnswerSumOf(const AnswerTallies& tallies, int answerCount);
// Each answer's tally in percent of the base, unrounded; 0 for every answer when the base is 0.
Percentages SharesOf(const results::ResultsTally& tally, int question, PercentBase base);
// The same for the first `answerCount` counts of a question answered by `respondents` people.
Percentages SharesOf(const AnswerTallies& tallies, int answerCount, std::uint16_t respondents,
                     PercentBase base);

// A line from (x1, y1) up to, not including, (x2, y2) with the current pen.
void DrawLine(platform::Canvas& canvas, int x1, int y1, int x2, int y2);
// The y of the 100, 75, 50, 25 and 0 percent levels of a printed chart.
struct PercentLevels {
    int Y100, Y75, Y50, Y25, Y0;
};
// The grid and axes of the printed bar, multi and comparison charts: dotted black lines at the
// 100 to 25 percent levels up to `right` (starting at x = 14 and 10 in turn), then solid the
// vertical axis at x = 10 with its ticks at 100 and 50 percent, and the base line at 0 percent.
void DrawPrintedGrid(platform::Canvas& canvas, const PercentLevels& y, int right);
// A text whose middle lies at `centre`, drawn from the top y.
void CentredText(platform::Canvas& canvas, double centre, int y, const QByteArray& text);

// Shares of the answers given to a question (the pie and stripe charts' base).
AnswerShares AnswerSharesOf(const results::ResultsTally& tally, int question);

// The colour a series' or channel's colour box takes when a mouse button is pressed on it: the
// left button opens the colour dialog preset to the current colour (cancelling keeps it); the
// right button, and maroon chosen in the dialog, give the default colour. Other buttons keep it.
QColor PickBoxColour(platform::Dialogs& dialogs, Qt::MouseButton button, QColor current,
                     QColor defaultColour);

// "a" for answer 1 up to "i" for answer 9.
QByteArray AnswerLetter(int answer);
// A percentage as the charts show it: rounded, halves to even.
int ShownPercent(double percent);
// The shown value of a percentage followed by "%".
QByteArray PercentLabel(double percent);

// The picture's title "Pytanie nr " + question, bold and underlined, on the silver background.
// Leaves the font at 8 points, regular.
void DrawQuestionTitle(platform::Canvas& canvas, int x, int question);
// An answer's entry in a picture's legend: a 20 x 16 box in the answer's colour holding its
// letter, and the rounded share "- N%" on silver at textLeft. Leaves the brush silver.
void DrawLegendEntry(platform::Canvas& canvas, int boxLeft, int top, int textLeft, int answer,
                     double percent);

}  // namespace charts
