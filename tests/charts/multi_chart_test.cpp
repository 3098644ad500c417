// The multi chart: its values from three chosen questions, the groups of bars on the picture and
// the page, and the window's colour samples and reset on showing.
#include "charts/multi_chart.h"

#include <gtest/gtest.h>

#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "chart_picture.h"
#include "charts/chart_windows.h"
#include "platform/controls.h"
#include "platform/round.h"
#include "support/recording_printer.h"
#include "support/scripted_dialogs.h"
#include "tally_builder.h"

using charts::PercentBase;
using charts_testing::ChartPicture;
using charts_testing::TallyOf;
using platform::Round;

namespace {

const QColor kSilver(charts::kSilver), kBlack(Qt::black);
const charts::PerSeries<QColor> kColours{QColor(), QColor(0xFF0000), QColor(0x80FF00),
                                         QColor(0x8080FF)};

struct MultiPicture : ChartPicture {
    MultiPicture(const results::ResultsTally& tally, charts::PerSeries<std::uint8_t> questions,
                 PercentBase base, bool scaleToFull)
        : ChartPicture(705, 305), values(charts::ComputeMultiValues(tally, questions, base)) {
        charts::DrawMultiChart(canvas, values, kColours, scaleToFull);
    }
    std::vector<QByteArray> Labels() const {
        std::vector<QByteArray> labels;
        for (const auto& text : texts) labels.push_back(text.text);
        return labels;
    }
    charts::MultiChartValues values;
};

}  // namespace

TEST(MultiChart, ThreeSeriesOnOneQuestionMakeGroupsOfThreeBarsReachingTheTopUnscaled) {
    const MultiPicture drawn(TallyOf(8, {{1, 1, 1, 1}}), {0, 1, 1, 1}, PercentBase::Answers, false);
    EXPECT_EQ(drawn.values.BarWidth, 50);  // (700 - 100) / 12
    // Four groups of three bars from x = 25, 20 pixels apart; each labelled 25 in its colour.
    std::vector<QByteArray> expected;
    for (int a = 1; a <= 4; ++a) {
        for (int s = 1; s <= 3; ++s) {
            const int left = 25 + (a - 1) * 170 + (s - 1) * 50;
            EXPECT_EQ(drawn.At(left + 10, 24), kSilver);
            EXPECT_EQ(drawn.At(left + 10, 25), kBlack);
            EXPECT_EQ(drawn.At(left + 10, 100), kColours[s]);
            EXPECT_EQ(drawn.At(left + 10, 265), kBlack);
            EXPECT_EQ(drawn.At(left + 10, 266), kSilver);
            expected.push_back("25");
        }
        expected.push_back(charts::AnswerLetter(a));
    }
    EXPECT_EQ(drawn.Labels(), expected);
    EXPECT_EQ(drawn.texts[1].font.colour, kColours[2]);
    EXPECT_EQ(drawn.texts[0].y, 251 - 240);
    const platform::DrawnText& letter = drawn.texts[3];
    EXPECT_TRUE(letter.font.bold && letter.font.points == 12 && letter.font.colour == kBlack);
    EXPECT_EQ(letter.y, 266);
    // On the full scale they stand a quarter of the way up.
    const MultiPicture full(TallyOf(8, {{1, 1, 1, 1}}), {0, 1, 1, 1}, PercentBase::Answers, true);
    EXPECT_EQ(full.At(35, 204), kSilver);
    EXPECT_EQ(full.At(35, 205), kBlack);
    EXPECT_EQ(full.At(35, 206), kColours[1]);
}

TEST(MultiChart, QuestionsOfTwoThreeAndFourAnswersShareTheGroupsByLetter) {
    const auto tally = TallyOf(10, {{1, 2}, {3, 3, 3}, {1, 1, 1, 1}});
    const MultiPicture drawn(tally, {0, 1, 2, 3}, PercentBase::Respondents, true);
    EXPECT_EQ(drawn.values.MaxAnswers, 4);
    EXPECT_EQ(drawn.values.BarCount, 9);
    EXPECT_EQ(drawn.values.BarWidth, 67);
    // Groups a and b hold three bars, c the bars of series 2 and 3, d that of series 3.
    const std::vector<QByteArray> expected{"10", "30", "10", "a", "20", "30", "10", "b",
                                           "30", "10", "c",  "10", "d"};
    EXPECT_EQ(drawn.Labels(), expected);
    const int groupC = 25 + 2 * (3 * 67 + 20);
    EXPECT_EQ(drawn.At(groupC + 10, 250), kColours[2]);
    EXPECT_EQ(drawn.At(groupC + 67 + 10, 250), kColours[3]);
    EXPECT_EQ(drawn.At(groupC + 2 * 67 + 10, 250), kSilver);
}

TEST(MultiChart, ValuesAreSharesOfTheRespondentsOrOfTheAnswersGiven) {
    const auto tally = TallyOf(10, {{3, 2, 1}, {}});
    const auto respondents = charts::ComputeMultiValues(tally, {0, 1, 2, 2}, PercentBase::Respondents);
    EXPECT_EQ(respondents.SeriesValue[1][1], 30.0);
    EXPECT_EQ(respondents.ScaleFactor, 100 / 30.0);
    const auto answers = charts::ComputeMultiValues(tally, {0, 1, 2, 2}, PercentBase::Answers);
    EXPECT_EQ(answers.SeriesValue[1][1], 50.0);
    EXPECT_EQ(answers.BarCount, 3);  // a question without answers adds no bars
    // No answers anywhere: no bars, nothing divided by zero.
    const MultiPicture empty(tally, {0, 2, 2, 2}, PercentBase::Answers, false);
    EXPECT_EQ(empty.values.BarCount, 0);
    EXPECT_EQ(empty.values.ScaleFactor, 0.0);
    EXPECT_TRUE(empty.texts.empty());
    EXPECT_EQ(empty.At(300, 264), kSilver);
    EXPECT_EQ(empty.At(300, 265), kBlack);
    // Nobody answered: every bar flat and labelled 0.
    const MultiPicture zero(TallyOf(0, {{0, 0}}), {0, 1, 1, 1}, PercentBase::Respondents, false);
    EXPECT_EQ(zero.Labels(), (std::vector<QByteArray>{"0", "0", "0", "a", "0", "0", "0", "b"}));
}

TEST(MultiChart, PrintoutHasTheSeriesLegendAndTheBarsOfTheLastDrawing) {
    testing_support::ScriptedDialogs dialogs;
    testing_support::RecordingPrinter printer;
    const results::ResultsTally tally = TallyOf(4, {{1, 3}, {2, 2, 1}});
    charts::TForm9 form(dialogs, printer, tally);
    form.RedrawRequest = true;
    form.OpenChart();
    form.ComboBox3->setCurrentIndex(1);
    emit form.ComboBox3->activated(1);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !form.RedrawRequest; }, 5000));
    EXPECT_EQ(form.Values.BarCount, 7);
    QTest::mouseClick(form.Button2, Qt::LeftButton);
    form.hide();

    // H = 2185, W = 2656: legend at 0.08 H, bars from 0.02 W + 10 on the baseline at 0.94 H.
    const std::uint16_t H = 2185, W = 2656;
    const auto& texts = printer.texts();
    ASSERT_GE(texts.size(), 4u);
    EXPECT_EQ(texts[3].text, QByteArray("Pytanie nr 2"));
    EXPECT_EQ(QPoint(texts[3].x, texts[3].y), QPoint(Round(0.722 * W) + 10, Round(0.08 * H)));
    EXPECT_TRUE(texts[1].font.underline && !texts[1].font.bold && texts[1].font.points == 14);
    const QImage& page = printer.pages().at(0);
    EXPECT_EQ(QColor(page.pixel(Round(0.66 * W) + 20, Round(0.08 * H) + 10)), QColor(128, 128, 255));
    const int BarWidth = Round(Round(0.95 * W - 10 - 4 * 0.02 * W) / 7.0);
    const int left = Round(0.02 * W + 10), Y0 = Round(0.94 * H);
    // Series 1, answer a: 25 % of the respondents, a quarter of 0.76 H on the full scale.
    const int top = Round(0.94 * H - 25 * 0.76 * H * 0.01);
    EXPECT_EQ(QColor(page.pixel(left + 5, top - 1)), QColor(Qt::white));
    EXPECT_EQ(QColor(page.pixel(left + 5, top)), kBlack);
    EXPECT_EQ(QColor(page.pixel(left + 5, top + 5)), QColor(255, 0, 0));
    EXPECT_EQ(QColor(page.pixel(left + 5, Y0 - 1)), kBlack);
    EXPECT_EQ(texts[4].text, QByteArray("25"));
    EXPECT_EQ(texts[4].font.colour, kBlack);
    // Group a holds three bars, b three, c only series 3's (a question of three answers).
    EXPECT_EQ(texts.back().text, QByteArray("c"));
    const int groupC = left + 6 * BarWidth + 40;
    EXPECT_EQ(QColor(page.pixel(groupC + 5, Y0 - 1)), kBlack);
    EXPECT_EQ(QColor(page.pixel(groupC + 5, Y0 - 3)), QColor(128, 128, 255));
    EXPECT_EQ(QColor(page.pixel(groupC + BarWidth + 5, Y0 - 3)), QColor(Qt::white));
    EXPECT_TRUE(dialogs.errors().isEmpty());
}

TEST(MultiChart, ColourSamplesTakeTheDialogsColourOrTheSeriesDefault) {
    testing_support::ScriptedDialogs dialogs;
    testing_support::RecordingPrinter printer;
    const results::ResultsTally tally = TallyOf(4, {{1, 3}});
    charts::TForm9 form(dialogs, printer, tally);
    form.OpenChart();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !form.RedrawRequest; }, 5000));
    dialogs.colours = {QColor(0x800000), QColor(0x123456), QColor()};
    QTest::mousePress(form.Shape2, Qt::LeftButton);  // maroon: the series' default green
    EXPECT_EQ(form.Shape2->Colour(), QColor(0x00FF00));
    EXPECT_EQ(dialogs.Last(testing_support::ScriptedDialogs::Kind::Colour)->preset,
              QColor(128, 255, 0));
    EXPECT_TRUE(form.RedrawRequest);
    QTest::mousePress(form.Shape1, Qt::LeftButton);
    EXPECT_EQ(form.Shape1->Colour(), QColor(0x123456));
    QTest::mousePress(form.Shape1, Qt::LeftButton);  // cancelled: unchanged
    EXPECT_EQ(form.Shape1->Colour(), QColor(0x123456));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !form.RedrawRequest; }, 5000));
    EXPECT_EQ(form.Image1->Picture.pixel(30, 250) & 0xFFFFFF, 0x123456u);

    // A right click brings back red, green and blue, unlike the colours set on showing.
    for (charts::ColourSwatch* sample : {form.Shape1, form.Shape2, form.Shape3}) {
        QTest::mousePress(sample, Qt::RightButton);
    }
    EXPECT_EQ(form.Shape1->Colour(), QColor(0xFF0000));
    EXPECT_EQ(form.Shape2->Colour(), QColor(0x00FF00));
    EXPECT_EQ(form.Shape3->Colour(), QColor(0x0000FF));

    // Reopening brings back the showing colours, questions, base and scale.
    form.RadioButton2->setChecked(true);
    form.CloseChart();
    form.OpenChart();
    EXPECT_EQ(form.Shape1->Colour(), QColor(255, 0, 0));
    EXPECT_EQ(form.Shape2->Colour(), QColor(128, 255, 0));
    EXPECT_EQ(form.Shape3->Colour(), QColor(128, 128, 255));
    EXPECT_TRUE(form.RadioButton1->isChecked());
    form.hide();
    EXPECT_TRUE(dialogs.errors().isEmpty());
}
