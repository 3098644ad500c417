// The pie chart: sectors of the upper face, bands of the front side kept in their strips, the
// legend, and the side on paper.
#include "charts/pie_chart.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>

#include "chart_picture.h"
#include "platform/round.h"
#include "tally_builder.h"

using charts_testing::TallyOf;
using platform::Round;

namespace {

const QColor kSilver(charts::kSilver), kBlack(Qt::black);
QColor Screen(int answer) { return QColor(charts::AnswerColours[answer]); }

struct PiePicture : charts_testing::ChartPicture {
    explicit PiePicture(const results::ResultsTally& tally)
        : ChartPicture(441, 275), shares(charts::AnswerSharesOf(tally, 1)) {
        charts::DrawPieChart(canvas, shares);
    }
    std::vector<QByteArray> Legend() const {
        std::vector<QByteArray> rows;
        for (const auto& text : texts) {
            if (text.x == 412) rows.push_back(text.text);
        }
        return rows;
    }
    charts::AnswerShares shares;
};

// The middle row of the visible front side at column x, between the upper face and the rim.
int SideRow(int x) {
    const double u = (x - 189.5) / 175;
    return Round(155 + 99.75 * std::sqrt(1 - u * u));
}

}  // namespace

TEST(PieChart, SectorsStartAtTheLeftEdgeAndTheLegendShowsRoundedShares) {
    // Everybody chose b: one sector over the whole face, one band along the whole front.
    const PiePicture all(TallyOf(6, {{0, 6, 0}}));
    for (QPoint p : {QPoint(190, 145), QPoint(40, 145), QPoint(340, 145), QPoint(190, 60)}) {
        EXPECT_EQ(all.At(p.x(), p.y()), Screen(2));
    }
    for (int x = 20; x < 360; ++x) EXPECT_EQ(all.At(x, SideRow(x)), Screen(2)) << x;
    EXPECT_EQ(all.Legend(), (std::vector<QByteArray>{"- 0%", "- 100%", "- 0%"}));
    EXPECT_EQ(all.At(392, 24 * 3 + 14), Screen(3));  // legend box c at y = 72
    EXPECT_EQ(all.texts[0].text, QByteArray("Pytanie nr 1"));

    // 25, 25 and 50 %: a the upper left quarter, b the upper right one, c the lower half.
    const PiePicture quarters(TallyOf(4, {{1, 1, 2}}));
    EXPECT_EQ(quarters.At(120, 100), Screen(1));
    EXPECT_EQ(quarters.At(260, 100), Screen(2));
    EXPECT_EQ(quarters.At(190, 200), Screen(3));
    EXPECT_EQ(quarters.Legend(), (std::vector<QByteArray>{"- 25%", "- 25%", "- 50%"}));
    EXPECT_EQ(PiePicture(TallyOf(8, {{1, 3, 4}})).Legend(),
              (std::vector<QByteArray>{"- 12%", "- 38%", "- 50%"}));
}

TEST(PieChart, TwoHalvesShowTheSecondAnswerOnTheWholeSideOnScreenAndOnPaper) {
    const PiePicture drawn(TallyOf(2, {{1, 1}}));
    EXPECT_EQ(drawn.At(190, 90), Screen(1));
    EXPECT_EQ(drawn.At(190, 200), Screen(2));
    for (int x = 20; x < 360; ++x) EXPECT_EQ(drawn.At(x, SideRow(x)), Screen(2)) << x;

    testing_support::RecordingPrinter printer;
    charts_testing::PrintBody(printer, [&](platform::Canvas& canvas, auto H, auto W) {
        charts::PrintPieChartBody(canvas, drawn.shares, H, W);
    });
    const QImage& page = printer.pages().at(0);
    const QColor red(charts::PrintAnswerColours[2]);
    EXPECT_EQ(QColor(page.pixel(1195, 600)), QColor(charts::PrintAnswerColours[1]));
    // The side's middle row, from the left end to the right end (the disc ends at 0.85 W).
    for (int x = 150; x <= 2250; x += 20) {
        const double u = (x - 1195.2) / 1062.4;
        EXPECT_EQ(QColor(page.pixel(x, Round(1147.1 + 874 * std::sqrt(1 - u * u)))), red) << x;
    }
    EXPECT_EQ(QColor(page.pixel(2270, 1250)), QColor(Qt::white));
    EXPECT_EQ(printer.texts().back().text, QByteArray(" - 50%"));  // answer a's row, drawn last
}

TEST(PieChart, StripsOfSectorsEndingBelowTenDegreesOrRoundedToZeroStaySilver) {
    // 52.75 %: a ends 9.9 degrees below the right edge, its line at x = 362, no fill right of
    // it; 53 % ends at 10.8 degrees and is filled.
    const PiePicture below(TallyOf(400, {{211, 189}}));
    EXPECT_EQ(below.At(362, 170), kBlack);
    EXPECT_EQ(below.At(363, 170), kSilver);
    EXPECT_EQ(PiePicture(TallyOf(100, {{53, 47}})).At(363, 170), Screen(1));
    // 0.4 % between 74.8 % and 24.8 %: a silver strip at the bottom between two lines.
    const PiePicture tiny(TallyOf(250, {{187, 1, 62}}));
    EXPECT_EQ(tiny.At(188, 255), kBlack);
    for (int x = 189; x <= 191; ++x) EXPECT_EQ(tiny.At(x, 255), kSilver) << x;
    EXPECT_EQ(tiny.At(192, 255), kBlack);
    EXPECT_EQ(tiny.At(200, 255), Screen(1));
    EXPECT_EQ(tiny.At(180, 255), Screen(3));
}

TEST(PieChart, BandFillsStayInTheirStripsForManyTallies) {
    // Generated tallies with zeros and tiny shares: the background outside the disc stays
    // silver, and the front side shows under each sector its colour.
    std::vector<QPoint> background;  // left of the legend, below the title, clear of the disc
    for (int y = 20; y < 275; ++y) {
        for (int x = 0; x < 380; ++x) {
            const double u = (x - 189.5) / 176, lower = (y - 164.5) / 101, upper = (y - 145) / 101;
            if (u * u + lower * lower > 1 && u * u + upper * upper > 1) background.emplace_back(x, y);
        }
    }
    std::mt19937 random(2026);
    for (int round = 0; round < 300; ++round) {
        results::ResultsTally tally = TallyOf(1000, {{}});
        const int n = tally.AnswerCount[1] = static_cast<std::uint8_t>(1 + random() % 9);
        for (int a = 1; a <= n; ++a) {
            const unsigned kind = random() % 4;
            tally.AnswerTally[1][a] = kind == 0 ? 0 : kind == 1 ? 1 + random() % 3 : random() % 400;
        }
        const PiePicture drawn(tally);
        SCOPED_TRACE(::testing::Message() << "round " << round);
        for (QPoint p : background) ASSERT_EQ(drawn.picture.pixel(p) & 0xFFFFFF, charts::kSilver);
        // Each strip of the lower half belongs to the first sector ending beyond its angle.
        std::vector<std::pair<double, int>> ends;  // end angle, answer
        double a = -charts::P;
        for (int i = 1; i <= n; ++i) {
            if (drawn.shares.Percent[i] <= 0) continue;
            a += drawn.shares.Percent[i] * std::numbers::pi * 0.02;
            ends.emplace_back(a, i);
        }
        for (int x = 20; x < 360; ++x) {
            const double angle = std::acos(std::clamp((x - 190) / 175.0, -1.0, 1.0));
            const auto owner = std::find_if(ends.begin(), ends.end(),
                                            [angle](const auto& end) { return end.first >= angle; });
            const bool nearLine = std::any_of(ends.begin(), ends.end(), [x](const auto& end) {
                return end.first > 0 && std::abs(Round(190 + 175 * std::cos(end.first)) - x) <= 1;
            });
            if (nearLine || owner == ends.end()) continue;
            const bool filled = owner->first > 0.17453292519943295 &&
                                Round(drawn.shares.Percent[owner->second]) > 0;
            ASSERT_EQ(drawn.At(x, SideRow(x)), filled ? Screen(owner->second) : kSilver) << x;
        }
    }
}
