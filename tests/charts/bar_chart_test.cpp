// The bar chart drawn into a picture without a window, read back pixel by pixel: bar widths and
// edges, heights on both scales, labels, grid and axes, and the cleared background.
#include "charts/bar_chart.h"

#include <gtest/gtest.h>

#include <QSet>

#include "charts/chart_drawing.h"
#include "platform/canvas.h"
#include "platform/round.h"
#include "results/results_file.h"
#include "results/results_test_files.h"
#include "support/temp_folder.h"
#include "tally_builder.h"

using charts::PercentBase;
using charts_testing::TallyOf;

namespace {

const QColor kSilver(charts::kSilver);
const QColor kBlack(Qt::black);

struct BarPicture {
    QImage picture{500, 250, QImage::Format_RGB32};
    std::vector<platform::DrawnText> texts;

    QColor At(int x, int y) const { return QColor(picture.pixel(x, y)); }
    const platform::DrawnText* Text(const QByteArray& text) const {
        for (const platform::DrawnText& drawn : texts) {
            if (drawn.text == text) return &drawn;
        }
        return nullptr;
    }
    int LabelY(const QByteArray& text) const { return Text(text) ? Text(text)->y : -9999; }
};

BarPicture Draw(const results::ResultsTally& tally, PercentBase base, bool scaleToFull,
                int question = 1) {
    BarPicture drawn;
    drawn.picture.fill(Qt::green);  // whatever the picture held before is cleared
    platform::Canvas canvas(drawn.picture);
    canvas.SetTextObserver(
        [&drawn](const platform::DrawnText& text) { drawn.texts.push_back(text); });
    charts::DrawBarChart(canvas, charts::ComputeBarShares(tally, question, base), scaleToFull);
    return drawn;
}

// One bar's outline and fill: columns left..right-1, from row top down to the axis.
void ExpectBar(const BarPicture& drawn, int left, int right, int top, int answer) {
    SCOPED_TRACE(::testing::Message() << "bar at x = " << left);
    const QColor fill(charts::AnswerColours[answer]);
    EXPECT_EQ(drawn.At(left - 1, 225), kSilver);
    EXPECT_EQ(drawn.At(left, 225), kBlack);
    EXPECT_EQ(drawn.At(left + 1, 225), fill);
    EXPECT_EQ(drawn.At(right - 1, 225), kBlack);
    EXPECT_EQ(drawn.At(right, 225), kSilver);
    EXPECT_EQ(drawn.At(left + 2, top - 1), kSilver);
    EXPECT_EQ(drawn.At(left + 2, top), kBlack);
    EXPECT_EQ(drawn.At(left + 2, top + 1), fill);
}

}  // namespace

TEST(BarChart, FourAnswersAreBarsOf92PixelsFrom30WithLabelsCentredOnThem) {
    const BarPicture drawn = Draw(TallyOf(10, {{1, 2, 3, 4}}), PercentBase::Respondents, true);
    platform::Canvas measure;
    for (int a = 1; a <= 4; ++a) {
        const int X = 30 + (a - 1) * 112;  // 30, 142, 254, 366
        ExpectBar(drawn, X, X + 92, 230 - 20 * a, a);
        const platform::DrawnText* value = drawn.Text(QByteArray::number(10 * a) + '%');
        const platform::DrawnText* letter =
            drawn.Text(QByteArray(1, static_cast<char>('a' + a - 1)));
        ASSERT_TRUE(value && letter);
        measure.SetFont(value->font);
        EXPECT_EQ(value->x, platform::Round(X + 46 - measure.TextWidth(value->text) * 0.5));
        EXPECT_EQ(value->y, 217 - 20 * a);
        measure.SetFont(letter->font);
        EXPECT_EQ(letter->x, platform::Round(X + 46 - measure.TextWidth(letter->text) * 0.5));
        EXPECT_EQ(letter->y, 231);
        EXPECT_TRUE(letter->font.bold && !value->font.bold);
    }
}

TEST(BarChart, NineAnswersAreBarsOf30PixelsTheLastEndingAt460) {
    // Equal shares on the scaled axis: every bar reaches the 100 line.
    const BarPicture drawn =
        Draw(TallyOf(9, {{1, 1, 1, 1, 1, 1, 1, 1, 1}}), PercentBase::Answers, false);
    for (int a = 1; a <= 9; ++a) ExpectBar(drawn, 30 + (a - 1) * 50, 60 + (a - 1) * 50, 30, a);
    EXPECT_EQ(drawn.At(459, 100), kBlack);
    EXPECT_EQ(drawn.At(460, 100), kSilver);
}

TEST(BarChart, ZeroBasesGiveFlatBarsLabelledZero) {
    const auto tally = TallyOf(0, {{0, 0, 0}, {3, 1}});
    EXPECT_EQ(charts::ComputeBarShares(tally, 1, PercentBase::Answers).ScaleFactor, 0.0);
    EXPECT_EQ(charts::ComputeBarShares(tally, 2, PercentBase::Respondents).Percent[1], 0.0);
    EXPECT_EQ(charts::ComputeBarShares(tally, 2, PercentBase::Answers).Percent[1], 75.0);
    for (bool scaleToFull : {true, false}) {
        const BarPicture drawn = Draw(tally, PercentBase::Answers, scaleToFull);
        EXPECT_EQ(
            std::count_if(drawn.texts.begin(), drawn.texts.end(),
                          [](const auto& text) { return text.text == "0%" && text.y == 217; }),
            3);
        // One pixel high on the axis row, silver right above it.
        for (int x : {30, 100, 159, 180, 330, 459}) {
            EXPECT_EQ(drawn.At(x, 230), kBlack);
            EXPECT_EQ(drawn.At(x, 229), kSilver) << x;
        }
    }
}

TEST(BarChart, AFileOfNoQuestionsAfterOneWithQuestionsShowsNoOldBars) {
    // The reader keeps the earlier file's counts beyond the new question count.
    testing_support::TempFolder folder;
    results::ResultsStore store;
    for (const QByteArray& bytes :
         {results_testing::ExampleFile(), results_testing::Lines({"RESULTS", "B", "5", "0"})}) {
        testing_support::WriteBytes(folder.File("in.wyn"), bytes);
        ASSERT_EQ(results::ReadResultsFile(folder.File("in.wyn"), store).outcome,
                  results::ResultsOutcome::Loaded);
    }
    ASSERT_EQ(store.Tally.AnswerTally[1][1], 5);
    EXPECT_EQ(charts::AnswerSumOf(store.Tally, 1), 0);
    for (PercentBase base : {PercentBase::Respondents, PercentBase::Answers}) {
        const charts::BarChartShares shares = charts::ComputeBarShares(store.Tally, 1, base);
        EXPECT_EQ(shares.AnswerCount, 0);
        EXPECT_EQ(*std::max_element(shares.Percent.begin(), shares.Percent.end()), 0.0);
    }
}

TEST(BarChart, SharesAreLabelledRoundedHalvesToEvenAndRiseTwoPixelsPerPercent) {
    const BarPicture drawn = Draw(TallyOf(8, {{1, 7}}), PercentBase::Answers, true);
    EXPECT_EQ(drawn.LabelY("12%"), 217 - 25);   // 12.5 %
    EXPECT_EQ(drawn.LabelY("88%"), 217 - 175);  // 87.5 %
    ExpectBar(drawn, 30, 235, 205, 1);
}

TEST(BarChart, MultipleChoiceSharesAbove100LeaveThePictureOnlyOnTheFullScale) {
    // Ten respondents, 15 and 5 of them chose answers a and b: 150 % and 50 %.
    const auto tally = TallyOf(10, {{15, 5}});
    const BarPicture full = Draw(tally, PercentBase::Respondents, true);
    EXPECT_EQ(full.At(130, 0), QColor(charts::AnswerColours[1]));
    EXPECT_EQ(full.LabelY("150%"), 217 - 300);
    ExpectBar(full, 255, 460, 130, 2);
    // Scaled: the tallest bar stands exactly at the 100 line, the labels keep the true shares.
    const BarPicture scaled = Draw(tally, PercentBase::Respondents, false);
    ExpectBar(scaled, 30, 235, 30, 1);
    ExpectBar(scaled, 255, 460, 163, 2);
    EXPECT_EQ(scaled.LabelY("150%"), 17);
    EXPECT_EQ(scaled.LabelY("50%"), 217 - 67);
}

TEST(BarChart, AQuestionWithoutAnswersGetsGridAxesAndTitleOnly) {
    const BarPicture drawn = Draw(TallyOf(4, {{1}, {}}), PercentBase::Respondents, true, 2);
    const QColor grey(charts::kGridGrey);
    // Dotted grey grid from x = 14 (100 %, 50 %) or 10 (75 %, 25 %) to 479, end point left out;
    // the axis and its ticks in black over it.
    for (int y : {30, 130}) {
        EXPECT_EQ(drawn.At(15, y), kSilver);
        EXPECT_EQ(drawn.At(16, y), grey);
        for (int x = 10; x <= 14; ++x) EXPECT_EQ(drawn.At(x, y), kBlack) << x << "," << y;
    }
    for (int y : {80, 180}) {
        EXPECT_EQ(drawn.At(11, y), kSilver);
        EXPECT_EQ(drawn.At(12, y), grey);
    }
    for (int y : {30, 80, 130, 180}) {
        EXPECT_EQ(drawn.At(478, y), grey);
        EXPECT_EQ(drawn.At(479, y), kSilver);
    }
    EXPECT_EQ(drawn.At(10, 29), kSilver);
    for (int y = 30; y <= 230; ++y) EXPECT_EQ(drawn.At(10, y), kBlack) << y;
    for (int x = 10; x < 480; ++x) EXPECT_EQ(drawn.At(x, 230), kBlack) << x;
    EXPECT_EQ(drawn.At(480, 230), kSilver);
    for (int x = 11; x < 480; ++x) EXPECT_EQ(drawn.At(x, 229), kSilver) << x;

    ASSERT_EQ(drawn.texts.size(), 1u);
    const platform::DrawnText& title = drawn.texts[0];
    EXPECT_EQ(title.text, QByteArray("Pytanie nr 2"));
    EXPECT_EQ(QPoint(title.x, title.y), QPoint(10, 0));
    EXPECT_TRUE(title.font.points == 10 && title.font.bold && title.font.underline);
    EXPECT_EQ(title.background, kSilver);
}

TEST(BarChart, ThePictureIsSilverWhereNothingIsDrawnAndHoldsNoMaroon) {
    QSet<QRgb> allowed{charts::kSilver, charts::kGridGrey, 0x000000};
    for (int a = 1; a <= 9; ++a) allowed.insert(charts::AnswerColours[a]);
    const BarPicture drawn =
        Draw(TallyOf(20, {{1, 2, 3, 4, 5, 6, 7, 8, 9}}), PercentBase::Respondents, false);
    for (int y = 0; y < 250; ++y) {
        for (int x = 0; x < 500; ++x) {
            ASSERT_TRUE(allowed.contains(drawn.picture.pixel(x, y) & 0xFFFFFF)) << x << "," << y;
        }
    }
    for (QPoint point :
         {QPoint(0, 0), QPoint(499, 0), QPoint(0, 249), QPoint(499, 249), QPoint(490, 100)}) {
        EXPECT_EQ(drawn.At(point.x(), point.y()), kSilver) << point.x() << "," << point.y();
    }
}
