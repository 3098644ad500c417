// The stripe chart: where each answer's part begins, the last reaching the stripe's end, parts
// without a share covered, and the legend on screen and on paper.
#include "charts/stripe_chart.h"

#include <gtest/gtest.h>

#include "chart_picture.h"
#include "platform/round.h"
#include "tally_builder.h"

using charts_testing::TallyOf;

namespace {

const QColor kSilver(charts::kSilver), kBlack(Qt::black);

struct StripePicture : charts_testing::ChartPicture {
    explicit StripePicture(std::vector<std::uint16_t> answers)
        : ChartPicture(530, 230), shares(charts::AnswerSharesOf(TallyOf(9, {answers}), 1)) {
        charts::DrawStripeChart(canvas, shares);
    }
    // The black left edges along the stripe's middle row (the axis at 20 included).
    std::vector<int> Edges() const {
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
        std::vector<int> edges;  // the parts' starts and the stripe's right edge at 520
        std::vector<int> fills;  // the answer seen right of each start
    } cases[] = {
        {{5}, {20, 520}, {1}},
        {{1, 1, 1}, {20, 187, 354, 520}, {1, 2, 3}},
        {{1, 0, 1}, {20, 270, 520}, {1, 3}},  // b, without a share, wholly covered by c
        {{0, 0}, {20}, {}},                    // nobody answered: no stripe
        // The rounded lengths of a..e make 502 pixels: f would start right of the end.
        {{5, 5, 3, 19, 5, 0}, {20, 88, 156, 197, 454, 520}, {1, 2, 3, 4, 5}},
    };
    for (const auto& c : cases) {
        const StripePicture drawn(c.answers);
        EXPECT_EQ(drawn.Edges(), c.edges);
        for (std::size_t i = 0; i < c.fills.size(); ++i) {
            EXPECT_EQ(drawn.At(c.edges[i] + 2, 150), QColor(charts::AnswerColours[c.fills[i]]));
        }
        for (int x = 521; x < 530; ++x) EXPECT_EQ(drawn.At(x, 150), kSilver) << x;
    }
    EXPECT_EQ(StripePicture({1, 1, 1}).Texts(),
              (std::vector<QByteArray>{"Pytanie nr 1", "a", "- 33%", "b", "- 33%", "c", "- 33%"}));
}

TEST(StripeChart, LegendBoxesStand55PixelsApartOnScreenAndSpreadOver0891WOnPaper) {
    const StripePicture nine({1, 1, 1, 1, 1, 1, 1, 1, 1});
    for (int i = 1; i <= 9; ++i) {
        const int left = 20 + 55 * (i - 1);
        EXPECT_EQ(nine.At(left, 30), kBlack);
        EXPECT_EQ(nine.At(left + 2, 44), QColor(charts::AnswerColours[i]));
        EXPECT_EQ(nine.At(left + 20, 38), kSilver);
    }
    EXPECT_EQ(QPoint(nine.texts.back().x, nine.texts.back().y), QPoint(481, 31));

    testing_support::RecordingPrinter printer;
    charts_testing::PrintBody(printer, [](platform::Canvas& canvas, auto H, auto W) {
        charts::PrintStripeChartBody(canvas, StripePicture({1, 1}).shares, H, W);
    });
    const auto& texts = printer.texts();
    ASSERT_EQ(texts.size(), 4u);
    EXPECT_EQ(texts[0].x, platform::Round(0.015 * 2656));
    EXPECT_EQ(texts[2].x, platform::Round(0.015 * 2656 + 0.4455 * 2656));
    EXPECT_EQ(texts[3].text, QByteArray(" - 50%"));
    // b begins half of the 0.92 W stripe on; the stripe ends at 0.93 W.
    const QImage& page = printer.pages().at(0);
    EXPECT_EQ(QColor(page.pixel(27 + 1222, 1000)), kBlack);
    EXPECT_EQ(QColor(page.pixel(27 + 1225, 1000)), QColor(charts::PrintAnswerColours[2]));
    EXPECT_EQ(QColor(page.pixel(2469, 1000)), kBlack);
    EXPECT_EQ(QColor(page.pixel(2470, 1000)), QColor(Qt::white));
}
