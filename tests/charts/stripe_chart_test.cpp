// The stripe chart on the picture and on the page: where each answer's part begins, the last
// reaching the stripe's end, parts of no share covered, and the legend rows.
#include "charts/stripe_chart.h"

#include <gtest/gtest.h>

#include "chart_picture.h"
#include "platform/round.h"
#include "support/recording_printer.h"
#include "tally_builder.h"

using charts_testing::ChartPicture;
using charts_testing::TallyOf;
using platform::Round;

namespace {

const QColor kSilver(charts::kSilver), kBlack(Qt::black);

struct StripePicture : ChartPicture {
    explicit StripePicture(const results::ResultsTally& tally)
        : ChartPicture(530, 230), shares(charts::AnswerSharesOf(tally, 1)) {
        charts::DrawStripeChart(canvas, shares);
    }
    // Where the stripe changes to a black edge along its middle row: the parts' left edges.
    std::vector<int> PartStarts() const {
        std::vector<int> starts;
        for (int x = 20; x < 530; ++x) {
            if (At(x, 150) == kBlack && At(x - 1, 150) != kBlack) starts.push_back(x);
        }
        return starts;
    }
    charts::AnswerShares shares;
};

}  // namespace

TEST(StripeChart, PartsBeginWhereTheEarlierRoundedLengthsEndAndTheLastReaches520) {
    const struct {
        std::vector<std::uint16_t> answers;
        std::vector<int> starts;  // the last one is the stripe's right edge at 520
        std::vector<int> fills;   // the answer seen right of each start
    } cases[] = {
        {{5}, {20, 520}, {1}},
        {{1, 1, 1}, {20, 187, 354, 520}, {1, 2, 3}},
        {{1, 1}, {20, 270, 520}, {1, 2}},
        // b has no share: its part is wholly covered by c's, which begins at the same x.
        {{1, 0, 1}, {20, 270, 520}, {1, 3}},
    };
    for (const auto& c : cases) {
        const StripePicture drawn(TallyOf(9, {c.answers}));
        EXPECT_EQ(drawn.PartStarts(), c.starts);
        for (std::size_t i = 0; i < c.fills.size(); ++i) {
            EXPECT_EQ(drawn.At(c.starts[i] + 2, 150), QColor(charts::AnswerColours[c.fills[i]]));
        }
        EXPECT_EQ(drawn.At(521, 150), kSilver);
        EXPECT_EQ(drawn.At(100, 89), kSilver);
        EXPECT_EQ(drawn.At(100, 90), kBlack);
        EXPECT_EQ(drawn.At(100, 199), kBlack);
        EXPECT_EQ(drawn.At(100, 200), kSilver);
    }
    const StripePicture thirds(TallyOf(3, {{1, 1, 1}}));
    ASSERT_EQ(thirds.texts.size(), 7u);
    for (int i = 1; i <= 3; ++i) EXPECT_EQ(thirds.texts[2 * i].text, QByteArray("- 33%"));
}

TEST(StripeChart, ALastPartStartingRightOfTheEndIsNotDrawn) {
    // The rounded lengths of a..e add up to 502 pixels: f, with no share, would start at 522.
    const StripePicture drawn(TallyOf(37, {{5, 5, 3, 19, 5, 0}}));
    for (int x = 521; x < 530; ++x) EXPECT_EQ(drawn.At(x, 150), kSilver) << x;
    EXPECT_EQ(drawn.At(519, 150), QColor(charts::AnswerColours[5]));
}

TEST(StripeChart, NineAnswersHaveLegendBoxesEvery55PixelsFrom20) {
    const StripePicture drawn(TallyOf(9, {{1, 1, 1, 1, 1, 1, 1, 1, 1}}));
    for (int i = 1; i <= 9; ++i) {
        const int left = 20 + 55 * (i - 1);
        EXPECT_EQ(drawn.At(left, 30), kBlack);
        EXPECT_EQ(drawn.At(left + 19, 45), kBlack);
        EXPECT_EQ(drawn.At(left + 2, 44), QColor(charts::AnswerColours[i]));
        EXPECT_EQ(drawn.At(left + 20, 38), kSilver);
    }
    ASSERT_FALSE(drawn.texts.empty());
    const platform::DrawnText& last = drawn.texts.back();
    EXPECT_EQ(QPoint(last.x, last.y), QPoint(481, 31));
    EXPECT_EQ(last.text, QByteArray("- 11%"));
    const platform::DrawnText& letter = drawn.texts[drawn.texts.size() - 2];
    EXPECT_EQ(letter.text, QByteArray("i"));
    EXPECT_TRUE(letter.font.bold);
    EXPECT_EQ(letter.background, QColor(charts::AnswerColours[9]));
}

TEST(StripeChart, UnansweredQuestionsHaveNoStripeOnlyTheLegend) {
    const StripePicture drawn(TallyOf(9, {{0, 0}}));
    EXPECT_EQ(drawn.PartStarts(), std::vector<int>{20});  // the axis only
    EXPECT_EQ(drawn.At(100, 150), kSilver);
    EXPECT_NE(drawn.Text("- 0%"), nullptr);
    // The axes and the dotted grey scale lines.
    EXPECT_EQ(drawn.At(20, 150), kBlack);
    EXPECT_EQ(drawn.At(300, 220), kBlack);
    EXPECT_EQ(drawn.At(270, 60), QColor(charts::kGridGrey));
    EXPECT_EQ(drawn.At(270, 61), kSilver);
}

TEST(StripeChart, OnPaperTheLegendIsSpreadOverTheWidthAndTheStripeIs092WLong) {
    // H = 2185, W = 2656 on a 3200 x 2300 landscape page.
    const std::uint16_t H = 2185, W = 2656;
    for (const auto& answers : {std::vector<std::uint16_t>{3}, std::vector<std::uint16_t>{1, 1}}) {
        testing_support::RecordingPrinter printer;
        printer.SetOrientation(platform::Orientation::Landscape);
        printer.BeginDoc();
        printer.PageCanvas().SetFont({QStringLiteral("times new roman"), 14, true, true, Qt::black});
        charts::PrintStripeChartBody(printer.PageCanvas(), charts::AnswerSharesOf(TallyOf(3, {answers}), 1),
                                     H, W);
        printer.EndDoc();
        const auto& texts = printer.texts();
        ASSERT_EQ(texts.size(), 2 * answers.size());
        EXPECT_EQ(texts[0].x, Round(0.015 * W));
        EXPECT_EQ(texts[0].y, Round(0.13 * H));
        EXPECT_FALSE(texts[0].font.bold || texts[0].font.underline);
        const QImage& page = printer.pages().at(0);
        const int top = Round(0.26 * H), end = Round(0.93 * W);
        EXPECT_EQ(QColor(page.pixel(Round(0.01 * W), top + 100)), QColor(Qt::black));
        EXPECT_EQ(QColor(page.pixel(end - 1, top + 100)), QColor(Qt::black));
        EXPECT_EQ(QColor(page.pixel(end, top + 100)), QColor(Qt::white));
        if (answers.size() == 2) {
            EXPECT_EQ(texts[2].x, Round(0.015 * W + 0.4455 * W));
            EXPECT_EQ(texts[3].text, QByteArray(" - 50%"));
            // b begins half the stripe on.
            const int middle = Round(0.01 * W) + Round(50 * 0.92 * W * 0.01);
            EXPECT_EQ(QColor(page.pixel(middle, top + 100)), QColor(Qt::black));
            EXPECT_EQ(QColor(page.pixel(middle + 2, top + 100)), QColor(charts::PrintAnswerColours[2]));
            EXPECT_EQ(QColor(page.pixel(middle - 2, top + 100)), QColor(charts::PrintAnswerColours[1]));
        }
    }
}
