// The multi chart: values and groups of bars from three chosen questions, and the window's
// colour samples and its reset on showing.
#include "charts/multi_chart.h"

#include <gtest/gtest.h>

#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "chart_picture.h"
#include "charts/chart_windows.h"
#include "support/scripted_dialogs.h"
#include "tally_builder.h"

using charts::PercentBase;
using charts_testing::TallyOf;

namespace {

const QColor kSilver(charts::kSilver), kBlack(Qt::black);
const charts::PerSeries<QColor> kColours{QColor(), QColor(0xFF0000), QColor(0x80FF00),
                                         QColor(0x8080FF)};

struct MultiPicture : charts_testing::ChartPicture {
    MultiPicture(const results::ResultsTally& tally, charts::PerSeries<std::uint8_t> questions,
                 PercentBase base, bool scaleToFull)
        : ChartPicture(705, 305), values(charts::ComputeMultiValues(tally, questions, base)) {
        charts::DrawMultiChart(canvas, values, kColours, scaleToFull);
    }
    charts::MultiChartValues values;
};

}  // namespace

TEST(MultiChart, GroupsHoldTheBarsOfTheSeriesWhoseQuestionHasThatLetter) {
    // Three series on one question, 1, 1, 1, 1 answers: all labelled 25, reaching the top
    // line at y = 25 unscaled; a quarter of the way up on the 100 % scale.
    const auto four = TallyOf(8, {{1, 1, 1, 1}});
    const MultiPicture unscaled(four, {0, 1, 1, 1}, PercentBase::Answers, false);
    EXPECT_EQ(unscaled.values.BarWidth, 50);
    for (int bar = 0; bar < 12; ++bar) {
        const int left = 25 + bar * 50 + bar / 3 * 20;
        EXPECT_EQ(unscaled.At(left + 10, 24), kSilver);
        EXPECT_EQ(unscaled.At(left + 10, 25), kBlack);
        EXPECT_EQ(unscaled.At(left + 10, 100), kColours[1 + bar % 3]);
        EXPECT_EQ(unscaled.texts[bar + bar / 3].text, QByteArray("25"));
        EXPECT_EQ(unscaled.texts[bar + bar / 3].font.colour, kColours[1 + bar % 3]);
    }
    EXPECT_EQ(MultiPicture(four, {0, 1, 1, 1}, PercentBase::Answers, true).At(35, 205), kBlack);

    // Questions of 2, 3 and 4 answers: groups a and b of three bars, c of two, d of one.
    const auto mixed = TallyOf(10, {{1, 2}, {3, 3, 3}, {1, 1, 1, 1}});
    const MultiPicture drawn(mixed, {0, 1, 2, 3}, PercentBase::Respondents, true);
    EXPECT_EQ(drawn.values.MaxAnswers, 4);
    EXPECT_EQ(drawn.values.BarCount, 9);
    EXPECT_EQ(drawn.values.BarWidth, 67);
    EXPECT_EQ(drawn.Texts(), (std::vector<QByteArray>{"10", "30", "10", "a", "20", "30", "10", "b",
                                                      "30", "10", "c", "10", "d"}));
    EXPECT_EQ(drawn.At(25 + 2 * 221 + 10, 250), kColours[2]);
}

TEST(MultiChart, ValuesAreSharesOfTheRespondentsOrOfTheAnswersGivenAndNeverDivideByZero) {
    const auto tally = TallyOf(10, {{3, 2, 1}, {}});
    EXPECT_EQ(charts::ComputeMultiValues(tally, {0, 1, 2, 2}, PercentBase::Respondents)
                  .SeriesValue[1][1], 30.0);
    const auto answers = charts::ComputeMultiValues(tally, {0, 1, 2, 2}, PercentBase::Answers);
    EXPECT_EQ(answers.SeriesValue[1][1], 50.0);
    EXPECT_EQ(answers.BarCount, 3);  // a question without answers adds no bars
    const MultiPicture empty(tally, {0, 2, 2, 2}, PercentBase::Answers, false);
    EXPECT_EQ(empty.values.ScaleFactor, 0.0);
    EXPECT_TRUE(empty.texts.empty());
    EXPECT_EQ(MultiPicture(TallyOf(0, {{0, 0}}), {0, 1, 1, 1}, PercentBase::Respondents, false)
                  .Texts(), (std::vector<QByteArray>{"0", "0", "0", "a", "0", "0", "0", "b"}));
}

TEST(MultiChart, ColourSamplesTakeTheDialogsColourOrTheDefaultAndReopeningResetsThem) {
    testing_support::ScriptedDialogs dialogs;
    testing_support::RecordingPrinter printer;
    const results::ResultsTally tally = TallyOf(4, {{1, 3}});
    charts::TForm9 form(dialogs, printer, tally);
    form.OpenChart();
    dialogs.colours = {QColor(0x800000), QColor(0x123456)};
    QTest::mousePress(form.Shape2, Qt::LeftButton);  // maroon: the series' default green
    EXPECT_EQ(form.Shape2->Colour(), QColor(0x00FF00));
    EXPECT_EQ(dialogs.Last(testing_support::ScriptedDialogs::Kind::Colour)->preset,
              QColor(128, 255, 0));
    QTest::mousePress(form.Shape1, Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !form.RedrawRequest; }, 5000));
    EXPECT_EQ(form.Image1->Picture().pixel(30, 250) & 0xFFFFFF, 0x123456u);
    form.Button2->click();  // the printout's legend in the samples' colours
    EXPECT_EQ(printer.pages().at(0).pixel(30, 200) & 0xFFFFFF, 0x123456u);

    // A right click brings back red, green and blue, unlike the colours set on showing.
    for (charts::ColourSwatch* sample : {form.Shape1, form.Shape2, form.Shape3}) {
        QTest::mousePress(sample, Qt::RightButton);
    }
    EXPECT_EQ(form.SeriesColour(), (charts::kDefaultSeriesColours));
    form.RadioButton2->setChecked(true);
    form.CloseChart();
    form.OpenChart();
    EXPECT_EQ(form.SeriesColour(), kColours);
    EXPECT_TRUE(form.RadioButton1->isChecked());
    form.hide();
    EXPECT_TRUE(dialogs.errors().isEmpty());
}
