// The pie chart on the picture and on the page: the sectors of the upper face, the bands of the
// front side and their strips, the legend, and a background that no band fill reaches.
#include "charts/pie_chart.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>

#include "chart_picture.h"
#include "platform/round.h"
#include "support/recording_printer.h"
#include "tally_builder.h"

using charts_testing::ChartPicture;
using charts_testing::TallyOf;
using platform::Round;

namespace {

const QColor kSilver(charts::kSilver), kBlack(Qt::black), kWhite(Qt::white);

QColor Screen(int answer) { return QColor(charts::AnswerColours[answer]); }

struct PiePicture : ChartPicture {
    explicit PiePicture(const results::ResultsTally& tally, int question = 1)
        : ChartPicture(441, 275), shares(charts::AnswerSharesOf(tally, question)) {
        charts::DrawPieChart(canvas, shares);
    }
    // The legend's percentage texts, from the first answer on.
    std::vector<QByteArray> Legend() const {
        std::vector<QByteArray> rows;
        for (const auto& text : texts) {
            if (text.x == 412) rows.push_back(text.text);
        }
        return rows;
    }
    charts::AnswerShares shares;
};

// The middle row of the disc's visible front side at column x: between the bottom of the upper
// face and the bottom of the lower rim.
int SideRow(int x) {
    const double u = (x - 189.5) / 175;
    return Round(155 + 99.75 * std::sqrt(1 - u * u));
}

// A page of the pie chart's printout: 3200 x 2300 landscape, H = 2185, W = 2656.
struct PiePage {
    explicit PiePage(const charts::AnswerShares& shares) {
        platform::Canvas& canvas = printer.PageCanvas();
        printer.SetOrientation(platform::Orientation::Landscape);
        printer.BeginDoc();
        canvas.SetFont({QStringLiteral("times new roman"), 14, true, true, Qt::black});
        charts::PrintPieChartBody(canvas, shares, 2185, 2656);
        printer.EndDoc();
    }
    QColor At(int x, int y) const { return QColor(printer.pages().at(0).pixel(x, y)); }
    testing_support::RecordingPrinter printer;
};

}  // namespace

TEST(PieChart, OneAnswerChosenByEverybodyCoversTheWholeFaceAndTheWholeFront) {
    const PiePicture drawn(TallyOf(6, {{0, 6, 0}}));
    for (QPoint p : {QPoint(190, 145), QPoint(40, 145), QPoint(340, 145), QPoint(190, 60),
                     QPoint(100, 220), QPoint(290, 220)}) {
        EXPECT_EQ(drawn.At(p.x(), p.y()), Screen(2)) << p.x() << "," << p.y();
    }
    for (int x = 20; x < 360; ++x) EXPECT_EQ(drawn.At(x, SideRow(x)), Screen(2)) << x;
    EXPECT_EQ(drawn.Legend(), (std::vector<QByteArray>{"- 0%", "- 100%", "- 0%"}));
    // Legend boxes at 24 i, each holding its letter on the answer's colour.
    for (int i = 1; i <= 3; ++i) {
        EXPECT_EQ(drawn.At(390, 24 * i), kBlack);
        EXPECT_EQ(drawn.At(392, 24 * i + 14), Screen(i));
        EXPECT_EQ(drawn.At(410, 24 * i + 8), kSilver);
        ASSERT_NE(drawn.Text(charts::AnswerLetter(i)), nullptr);
        EXPECT_EQ(drawn.Text(charts::AnswerLetter(i))->background, Screen(i));
    }
    ASSERT_FALSE(drawn.texts.empty());
    EXPECT_EQ(drawn.texts[0].text, QByteArray("Pytanie nr 1"));
    EXPECT_TRUE(drawn.texts[0].font.bold && drawn.texts[0].font.underline);
}

TEST(PieChart, SectorsStartAtTheLeftEdgeAndGoClockwiseOverTheTop) {
    // 25, 25 and 50 percent: a the upper left quarter, b the upper right one, c the lower half.
    const PiePicture drawn(TallyOf(4, {{1, 1, 2}}));
    EXPECT_EQ(drawn.At(120, 100), Screen(1));
    EXPECT_EQ(drawn.At(260, 100), Screen(2));
    EXPECT_EQ(drawn.At(120, 190), Screen(3));
    EXPECT_EQ(drawn.At(260, 190), Screen(3));
    EXPECT_EQ(drawn.Legend(), (std::vector<QByteArray>{"- 25%", "- 25%", "- 50%"}));
    // Only the lower half of the disc shows its side: answer c's band.
    for (int x = 20; x < 360; ++x) EXPECT_EQ(drawn.At(x, SideRow(x)), Screen(3)) << x;

    // Shares rounded halves to even: 12.5 shows as 12, 37.5 as 38.
    EXPECT_EQ(PiePicture(TallyOf(8, {{1, 3, 4}})).Legend(),
              (std::vector<QByteArray>{"- 12%", "- 38%", "- 50%"}));
}

TEST(PieChart, TwoHalvesShowTheSecondAnswerOnTheWholeSideOnScreenAndOnPaper) {
    const PiePicture drawn(TallyOf(2, {{1, 1}}));
    EXPECT_EQ(drawn.At(190, 90), Screen(1));
    EXPECT_EQ(drawn.At(190, 200), Screen(2));
    for (int x = 20; x < 360; ++x) EXPECT_EQ(drawn.At(x, SideRow(x)), Screen(2)) << x;

    // On paper, the side between the upper face and the lower rim, the right end included.
    const PiePage page(drawn.shares);
    const QColor red(charts::PrintAnswerColours[2]);
    EXPECT_EQ(page.At(1195, 600), QColor(charts::PrintAnswerColours[1]));
    EXPECT_EQ(page.At(1195, 1500), red);
    for (int x = 150; x <= 2240; x += 10) {
        const double u = (x - 1195.2) / 1062.4;
        const double s = std::sqrt(1 - u * u);
        const int y = Round((0.5 * 2185 + 0.4 * 2185 * s + 0.55 * 2185 + 0.4 * 2185 * s) / 2);
        EXPECT_EQ(page.At(x, y), red) << x << "," << y;
    }
    EXPECT_EQ(page.At(2250, 1250), red);
    EXPECT_EQ(page.At(2270, 1250), kWhite);  // right of the disc
}

TEST(PieChart, StripsOfSectorsEndingBelowTenDegreesOrRoundedToZeroStaySilver) {
    // 52.75 %: answer a ends 9.9 degrees below the right edge; its line is drawn at x = 362
    // and the strip right of it stays silver. 53 % ends at 10.8 degrees and is filled.
    const PiePicture below(TallyOf(400, {{211, 189}}));
    EXPECT_EQ(below.At(362, 170), kBlack);
    EXPECT_EQ(below.At(363, 170), kSilver);
    EXPECT_EQ(below.At(300, SideRow(300)), Screen(2));
    const PiePicture above(TallyOf(100, {{53, 47}}));
    EXPECT_EQ(above.At(363, 170), Screen(1));

    // 0.4 % between 74.8 % and 24.8 %: a silver strip at the bottom between two lines.
    const PiePicture tiny(TallyOf(250, {{187, 1, 62}}));
    EXPECT_EQ(tiny.Legend(), (std::vector<QByteArray>{"- 75%", "- 0%", "- 25%"}));
    EXPECT_EQ(tiny.At(188, 255), kBlack);
    for (int x = 189; x <= 191; ++x) EXPECT_EQ(tiny.At(x, 255), kSilver) << x;
    EXPECT_EQ(tiny.At(192, 255), kBlack);
    EXPECT_EQ(tiny.At(200, 255), Screen(1));
    EXPECT_EQ(tiny.At(180, 255), Screen(3));
}

TEST(PieChart, BandFillsStayInTheirStripsForManyTallies) {
    // Generated tallies of 1 to 9 answers, with zeros and tiny shares among them: the background
    // outside the disc stays silver, and the front side shows under each sector its colour.
    std::vector<QPoint> background;  // left of the legend, below the title, clear of the disc
    for (int y = 20; y < 275; ++y) {
        for (int x = 0; x < 380; ++x) {
            const double u = (x - 189.5) / 176, lower = (y - 164.5) / 101, upper = (y - 145) / 101;
            if (u * u + lower * lower > 1 && u * u + upper * upper > 1) background.emplace_back(x, y);
        }
    }
    std::mt19937 random(2026);
    for (int round = 0; round < 300; ++round) {
        const int n = 1 + static_cast<int>(random() % 9);
        results::ResultsTally tally = TallyOf(1000, {{}});
        tally.AnswerCount[1] = static_cast<std::uint8_t>(n);
        for (int a = 1; a <= n; ++a) {
            const unsigned kind = random() % 4;
            tally.AnswerTally[1][a] = kind == 0 ? 0 : kind == 1 ? 1 + random() % 3 : random() % 400;
        }
        const PiePicture drawn(tally);
        SCOPED_TRACE(::testing::Message() << "round " << round);
        for (QPoint p : background) {
            ASSERT_EQ(drawn.picture.pixel(p) & 0xFFFFFF, charts::kSilver) << p.x() << "," << p.y();
        }
        // The sectors' ends, as the chart computes them; each strip of the lower half belongs to
        // the first sector ending beyond its angle.
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
            ASSERT_EQ(drawn.At(x, SideRow(x)), filled ? Screen(owner->second) : kSilver)
                << "x = " << x;
        }
    }
}

TEST(PieChart, UnansweredQuestionsShowTheTitleAndALegendOfZeros) {
    const PiePicture drawn(TallyOf(5, {{0, 0}}));
    EXPECT_EQ(drawn.Legend(), (std::vector<QByteArray>{"- 0%", "- 0%"}));
    EXPECT_EQ(drawn.At(190, 145), kSilver);
    EXPECT_EQ(drawn.At(190, 260), kSilver);
    const PiePage page(drawn.shares);
    EXPECT_EQ(page.At(1195, 1092), kWhite);  // no disc
    EXPECT_EQ(page.printer.texts().size(), 2u * 2);  // the legend rows
}

TEST(PieChart, PrintedLegendListsTheAnswersDownwardsWithColourSamples) {
    const charts::AnswerShares shares = charts::AnswerSharesOf(TallyOf(4, {{1, 1, 2}}), 1);
    const PiePage page(shares);
    const auto& texts = page.printer.texts();
    ASSERT_EQ(texts.size(), 6u);
    platform::Canvas measure(300);
    measure.SetFont(texts[0].font);
    const int rowStep = 2 * measure.TextHeight("E");
    // Drawn from the last answer up: c first.
    EXPECT_EQ(texts[0].text, QByteArray("c"));
    EXPECT_EQ(QPoint(texts[0].x, texts[0].y), QPoint(Round(0.9 * 2656), Round(0.15 * 2185 + 2 * rowStep)));
    EXPECT_EQ(texts[1].text, QByteArray(" - 50%"));
    EXPECT_EQ(texts[1].x, Round(0.9 * 2656 + measure.TextWidth("EE")));
    EXPECT_EQ(texts[5].text, QByteArray(" - 25%"));
    EXPECT_EQ(texts[4].y, Round(0.15 * 2185));
    EXPECT_TRUE(texts[0].font.bold && texts[0].font.points == 12 && !texts[0].font.underline);
    const int sampleX = Round(0.9 * 2656 + measure.TextWidth("E")) + 3;
    EXPECT_EQ(page.At(sampleX, Round(0.15 * 2185) + 10), QColor(charts::PrintAnswerColours[1]));
    // Sector a on the upper face is the upper left quarter.
    EXPECT_EQ(page.At(700, 600), QColor(charts::PrintAnswerColours[1]));
    EXPECT_EQ(page.At(1700, 600), QColor(charts::PrintAnswerColours[2]));
    EXPECT_EQ(page.At(1195, 1500), QColor(charts::PrintAnswerColours[3]));
}

