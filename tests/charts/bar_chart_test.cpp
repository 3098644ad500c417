// The bar chart drawn into a picture without a window, read back pixel by pixel: bar widths and
// edges, heights on both scales, labels, grid and axes, and the cleared background.
#include <gtest/gtest.h>

#include <QSet>

#include "charts/bar_chart.h"
#include "platform/canvas.h"
#include "platform/round.h"
#include "tally_builder.h"

using charts::PercentBase;
using charts_testing::TallyOf;

namespace {

const QColor kSilver(charts::kSilver);
const QColor kGrey(charts::kGridGrey);
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
};

BarPicture Draw(const results::ResultsTally& tally, int question, PercentBase base,
                bool scaleToFull, QColor background = Qt::white) {
    BarPicture drawn;
    drawn.picture.fill(background);
    platform::Canvas canvas(drawn.picture);
    canvas.SetTextObserver([&drawn](const platform::DrawnText& text) { drawn.texts.push_back(text); });
    charts::DrawBarChart(canvas, charts::ComputeBarShares(tally, question, base), scaleToFull);
    return drawn;
}

int TextWidth(const QByteArray& text, bool bold) {
    platform::Canvas canvas;
    canvas.SetFont({QStringLiteral("MS Sans Serif"), 8, bold, false, Qt::black});
    return canvas.TextWidth(text);
}

// Checks one bar's outline and fill: columns left..right-1, rows top..230.
void ExpectBar(const BarPicture& drawn, int left, int right, int top, QRgb fill) {
    SCOPED_TRACE(::testing::Message() << "bar at x = " << left);
    EXPECT_EQ(drawn.At(left - 1, 225), kSilver);
    EXPECT_EQ(drawn.At(left, 225), kBlack);
    EXPECT_EQ(drawn.At(left + 1, 225), QColor(fill));
    EXPECT_EQ(drawn.At(right - 2, 225), QColor(fill));
    EXPECT_EQ(drawn.At(right - 1, 225), kBlack);
    EXPECT_EQ(drawn.At(right, 225), kSilver);
    EXPECT_EQ(drawn.At(left + 2, top), kBlack);
    EXPECT_EQ(drawn.At(left + 2, top + 1), QColor(fill));
    EXPECT_EQ(drawn.At(left + 2, top - 1), kSilver);
}

}  // namespace

TEST(BarChart, FourAnswersAreBarsOf92PixelsFrom30WithLabelsCentredOnThem) {
    const auto tally = TallyOf(10, {{1, 2, 3, 4}});
    const BarPicture drawn = Draw(tally, 1, PercentBase::Respondents, true);
    const int lefts[] = {30, 142, 254, 366};
    const int tops[] = {210, 190, 170, 150};  // 10 % to 40 %, 2 pixels per percent
    for (int a = 1; a <= 4; ++a) {
        const int X = lefts[a - 1];
        ExpectBar(drawn, X, X + 92, tops[a - 1], charts::AnswerColours[a]);
        const QByteArray label = QByteArray::number(10 * a) + '%';
        const platform::DrawnText* value = drawn.Text(label);
        ASSERT_NE(value, nullptr) << label.constData();
        EXPECT_EQ(value->x, platform::Round(X + 46 - TextWidth(label, false) * 0.5));
        EXPECT_EQ(value->y, 217 - 20 * a);
        EXPECT_EQ(value->background, kSilver);
        const QByteArray letter(1, static_cast<char>('a' + a - 1));
        const platform::DrawnText* letterText = drawn.Text(letter);
        ASSERT_NE(letterText, nullptr);
        EXPECT_EQ(letterText->x, platform::Round(X + 46 - TextWidth(letter, true) * 0.5));
        EXPECT_EQ(letterText->y, 231);
        EXPECT_TRUE(letterText->font.bold);
        EXPECT_EQ(letterText->font.points, 8);
    }
}

TEST(BarChart, NineAnswersAreBarsOf30PixelsTheLastEndingAt460) {
    const auto tally = TallyOf(9, {{1, 1, 1, 1, 1, 1, 1, 1, 1}});
    const BarPicture drawn = Draw(tally, 1, PercentBase::Answers, false);
    // Equal shares on the unscaled axis: every bar reaches the 100 line.
    for (int a = 1; a <= 9; ++a) {
        const int X = 30 + (a - 1) * 50;
        ExpectBar(drawn, X, X + 30, 30, charts::AnswerColours[a]);
    }
    EXPECT_EQ(drawn.At(459, 100), kBlack);
    EXPECT_EQ(drawn.At(460, 100), kSilver);
    ASSERT_NE(drawn.Text("11%"), nullptr);
}

TEST(BarChart, AllZeroTalliesOnTheAnswerBaseGiveFlatBarsLabelledZero) {
    const auto tally = TallyOf(5, {{0, 0, 0}});
    const charts::BarChartShares shares = charts::ComputeBarShares(tally, 1, PercentBase::Answers);
    EXPECT_EQ(shares.ScaleFactor, 0.0);
    for (bool scaleToFull : {true, false}) {
        const BarPicture drawn = Draw(tally, 1, PercentBase::Answers, scaleToFull);
        int zeroLabels = 0;
        for (const platform::DrawnText& text : drawn.texts) {
            if (text.text == "0%") {
                ++zeroLabels;
                EXPECT_EQ(text.y, 217);
            }
        }
        EXPECT_EQ(zeroLabels, 3);
        // One pixel high, on the axis row; silver right above.
        for (int a = 1; a <= 3; ++a) {
            const int X = 30 + (a - 1) * (130 + 20);
            for (int x = X; x < X + 130; x += 13) {
                EXPECT_EQ(drawn.At(x, 230), kBlack);
                EXPECT_EQ(drawn.At(x, 229), kSilver) << x;
            }
        }
    }
}

TEST(BarChart, NoRespondentsGiveZeroOnTheRespondentBase) {
    const auto tally = TallyOf(0, {{3, 1}});
    const charts::BarChartShares shares =
        charts::ComputeBarShares(tally, 1, PercentBase::Respondents);
    EXPECT_EQ(shares.Percent[1], 0.0);
    EXPECT_EQ(shares.ScaleFactor, 0.0);
    EXPECT_EQ(charts::ComputeBarShares(tally, 1, PercentBase::Answers).Percent[1], 75.0);
}

TEST(BarChart, HalvesOfPercentagesAreLabelledRoundedToEven) {
    const auto tally = TallyOf(8, {{1, 7}});
    const BarPicture drawn = Draw(tally, 1, PercentBase::Answers, true);
    EXPECT_NE(drawn.Text("12%"), nullptr);  // 12.5
    EXPECT_NE(drawn.Text("88%"), nullptr);  // 87.5
    // The bar of 12.5 % is 25 pixels high, its label 25 pixels higher than at 0.
    EXPECT_EQ(drawn.Text("12%")->y, 217 - 25);
    EXPECT_EQ(drawn.At(40, 205), kBlack);
    EXPECT_EQ(drawn.At(40, 204), kSilver);
}

TEST(BarChart, MultipleChoiceSharesAbove100RiseAboveThePictureOnlyOnTheFullScale) {
    // Ten respondents, 15 and 5 of them chose answers a and b: 150 % and 50 %.
    const auto tally = TallyOf(10, {{15, 5}});
    const int secondLeft = 30 + 205 + 20;
    {
        const BarPicture drawn = Draw(tally, 1, PercentBase::Respondents, true);
        EXPECT_EQ(drawn.At(130, 0), QColor(charts::AnswerColours[1]));  // above the picture's top
        EXPECT_EQ(drawn.Text("150%")->y, 217 - 300);
        ExpectBar(drawn, secondLeft, secondLeft + 205, 130, charts::AnswerColours[2]);
        EXPECT_EQ(drawn.Text("50%")->y, 217 - 100);
    }
    {
        const BarPicture drawn = Draw(tally, 1, PercentBase::Respondents, false);
        ExpectBar(drawn, 30, 235, 30, charts::AnswerColours[1]);  // exactly at the 100 line
        ExpectBar(drawn, secondLeft, secondLeft + 205, 163, charts::AnswerColours[2]);
        // The labels keep the true shares.
        EXPECT_EQ(drawn.Text("150%")->y, 17);
        EXPECT_EQ(drawn.Text("50%")->y, 217 - 67);
    }
}

TEST(BarChart, GridAxesAndTitleSitAtTheirPlaces) {
    const auto tally = TallyOf(4, {{1}, {}});
    const BarPicture drawn = Draw(tally, 2, PercentBase::Respondents, true);
    // Dotted grey grid from x = 14 (100 %, 50 %) or 10 (75 %, 25 %), the end point left out.
    for (int y : {30, 130}) {
        EXPECT_EQ(drawn.At(16, y), kGrey);
        EXPECT_EQ(drawn.At(15, y), kSilver);
        EXPECT_EQ(drawn.At(478, y), kGrey);
        EXPECT_EQ(drawn.At(480, y), kSilver);
        for (int x = 10; x <= 14; ++x) EXPECT_EQ(drawn.At(x, y), kBlack) << x << "," << y;
    }
    for (int y : {80, 180}) {
        EXPECT_EQ(drawn.At(12, y), kGrey);
        EXPECT_EQ(drawn.At(11, y), kSilver);
        EXPECT_EQ(drawn.At(478, y), kGrey);
        EXPECT_EQ(drawn.At(479, y), kSilver);
    }
    // Solid black axes: the vertical one from 30 down to 230, the horizontal one to 479.
    EXPECT_EQ(drawn.At(10, 29), kSilver);
    for (int y = 30; y <= 230; ++y) EXPECT_EQ(drawn.At(10, y), kBlack) << y;
    for (int x = 10; x < 480; ++x) EXPECT_EQ(drawn.At(x, 230), kBlack) << x;
    EXPECT_EQ(drawn.At(480, 230), kSilver);
    // A question without answers: the title and nothing else is written, no bars stand.
    ASSERT_EQ(drawn.texts.size(), 1u);
    const platform::DrawnText& title = drawn.texts[0];
    EXPECT_EQ(title.text, QByteArray("Pytanie nr 2"));
    EXPECT_EQ(title.x, 10);
    EXPECT_EQ(title.y, 0);
    EXPECT_EQ(title.font.points, 10);
    EXPECT_TRUE(title.font.bold);
    EXPECT_TRUE(title.font.underline);
    EXPECT_EQ(title.background, kSilver);
    for (int x = 11; x < 480; ++x) EXPECT_EQ(drawn.At(x, 229), kSilver) << x;
}

TEST(BarChart, ThePictureIsSilverWhereNothingIsDrawnAndHoldsNoMaroon) {
    const auto tally = TallyOf(20, {{1, 2, 3, 4, 5, 6, 7, 8, 9}, {}});
    QSet<QRgb> allowed{charts::kSilver, charts::kGridGrey, 0x000000};
    for (int a = 1; a <= 9; ++a) allowed.insert(charts::AnswerColours[a]);
    for (int question : {1, 2}) {
        // Whatever the picture held before, the drawing starts from an all-silver picture.
        const BarPicture drawn = Draw(tally, question, PercentBase::Respondents, false, Qt::green);
        for (int y = 0; y < 250; ++y) {
            for (int x = 0; x < 500; ++x) {
                const QRgb pixel = drawn.picture.pixel(x, y) & 0xFFFFFF;
                ASSERT_TRUE(allowed.contains(pixel)) << x << "," << y << " " << std::hex << pixel;
            }
        }
        for (QPoint corner : {QPoint(0, 0), QPoint(499, 0), QPoint(0, 249), QPoint(499, 249),
                              QPoint(490, 100), QPoint(5, 240)}) {
            EXPECT_EQ(drawn.At(corner.x(), corner.y()), kSilver) << corner.x() << "," << corner.y();
        }
    }
}
