// The comparison chart drawn without a window, read back pixel by pixel: bar widths shared
// outlines and heights, value labels, a question without answers; and its printed page.
#include "stats/comparison_chart.h"

#include <gtest/gtest.h>

#include "charts/chart_window.h"
#include "platform/canvas.h"
#include "platform/round.h"
#include "support/recording_printer.h"

using charts::PercentBase;

namespace {

const QColor kSilver(charts::kSilver), kBlack(Qt::black), kWhite(Qt::white);
const QColor kRed(255, 0, 0), kLime(0, 255, 0), kBlue(0, 0, 255);

// One question of three answers: channel 1 has 1, 1, 6 of 8 respondents (12.5, 12.5, 75 %),
// channel 3 has 4, 2, 8 of 8 (50, 25, 100 %); channel 2 is loaded but switched off.
stats::ChannelStore Survey() {
    stats::ChannelStore store;
    store.SurveyName = "Sonda";
    store.QuestionCount = 2;
    store.AnswerCount[1] = 3;  // question 2 has no answers
    const std::array<charts::AnswerTallies, 4> tallies{
        {{}, {0, 1, 1, 6}, {0, 3, 3, 3}, {0, 4, 2, 8}}};
    for (int K = 1; K <= 3; ++K) {
        store.Channels[K] = {true, 8, {}};
        store.Channels[K].AnswerTally[1] = tallies[K];
    }
    return store;
}

stats::ChannelLooks Looks(bool second = false) {
    return {{{}, {true, kRed, "klasa1."}, {second, kLime, "klasa2."}, {true, kBlue, "klasa3."}}};
}

struct Drawn {
    QImage picture{777, 333, QImage::Format_RGB32};
    std::vector<platform::DrawnText> texts;
    QColor At(int x, int y) const { return QColor(picture.pixel(x, y)); }
};

Drawn Draw(const stats::ChannelStore& store, const stats::ChannelLooks& looks, bool scaleToFull) {
    Drawn drawn;
    drawn.picture.fill(Qt::green);
    platform::Canvas canvas(drawn.picture);
    canvas.SetTextObserver(
        [&drawn](const platform::DrawnText& text) { drawn.texts.push_back(text); });
    const stats::ComparisonValues values =
        stats::ComputeComparison(store, looks, PercentBase::Respondents);
    stats::DrawComparison(canvas, store, values, looks, scaleToFull);
    return drawn;
}

}  // namespace

TEST(ComparisonChart, TwoChannelsOfThreeAnswersAreBarsOf112SharingTheirMiddleOutline) {
    const Drawn drawn = Draw(Survey(), Looks(), true);
    // Answer a: channel 1 from x = 30 to 141, channel 3 from 141 to 252; groups 244 apart.
    const std::vector<std::pair<int, QColor>> row300{
        {29, kSilver}, {30, kBlack},  {31, kRed},     {140, kRed},    {141, kBlack}, {142, kBlue},
        {251, kBlue},  {252, kBlack}, {253, kSilver}, {273, kSilver}, {274, kBlack}};
    for (const auto& [x, colour] : row300) EXPECT_EQ(drawn.At(x, 300), colour) << x;
    // 2.8 pixels per percent above the base line at 310: 12.5 % reaches 275, 50 % reaches 170.
    EXPECT_EQ(drawn.At(35, 274), kSilver);
    EXPECT_EQ(drawn.At(35, 275), kBlack);
    EXPECT_EQ(drawn.At(35, 276), kRed);
    EXPECT_EQ(drawn.At(146, 170), kBlack);
    EXPECT_EQ(drawn.At(146, 171), kBlue);

    // Labels in the channel's colour, halves to even, centred on the bar by their own width.
    std::vector<platform::DrawnText> labels;
    for (const platform::DrawnText& text : drawn.texts) {
        if (text.font.colour == kRed) labels.push_back(text);
    }
    ASSERT_EQ(labels.size(), 3u);
    platform::Canvas measure;
    measure.SetFont(labels[0].font);
    const int centres[] = {86, 86 + 244, 86 + 488}, tops[] = {262, 262, 87};
    const char* texts[] = {"12", "12", "75"};
    for (int a = 0; a < 3; ++a) {
        EXPECT_EQ(labels[a].text, QByteArray(texts[a]));
        EXPECT_EQ(labels[a].x, platform::Round(centres[a] - measure.TextWidth(texts[a]) * 0.5));
        EXPECT_EQ(labels[a].y, tops[a]);
    }
    EXPECT_EQ(drawn.texts.front().text, QByteArray("Ankieta: Sonda, Pytanie nr 1"));
}

TEST(ComparisonChart, AQuestionWithoutAnswersShowsTheFrameWithoutBars) {
    stats::ChannelStore store = Survey();
    store.ShownQuestion = 2;
    const Drawn drawn = Draw(store, Looks(true), true);
    ASSERT_EQ(drawn.texts.size(), 2u);  // the title and "w %"
    EXPECT_EQ(drawn.texts[1].text, QByteArray("w %"));
    EXPECT_EQ(drawn.At(10, 200), kBlack);
    EXPECT_EQ(drawn.At(100, 309), kSilver);
    EXPECT_EQ(drawn.At(100, 310), kBlack);
}

TEST(ComparisonPrintout, APageOf3200x2300HasItsGridAxesGroupsAndLegendInPageMeasures) {
    testing_support::RecordingPrinter printer;  // 3200 x 2300 in landscape
    const stats::ChannelStore store = Survey();
    const stats::ComparisonValues values =
        stats::ComputeComparison(store, Looks(), PercentBase::Respondents);
    charts::PrintChartPage(printer, stats::ComparisonHeader(store),
                           [&](platform::Canvas& canvas, std::uint16_t H, std::uint16_t W) {
                               EXPECT_EQ(H, 2185);
                               EXPECT_EQ(W, 2656);
                               stats::PrintComparisonBody(canvas, store, values, Looks(), true, H,
                                                          W);
                           });
    ASSERT_EQ(printer.pages().size(), 1u);
    const QImage& page = printer.pages()[0];
    const auto At = [&page](int x, int y) { return QColor(page.pixel(x, y)); };
    for (int y : {393, 808, 1224, 1639, 2054}) {
        EXPECT_EQ(At(2522, y), kBlack) << y;
        EXPECT_EQ(At(2523, y), kWhite) << y;
    }
    EXPECT_EQ(At(10, 2053), kBlack);
    // Bars 367 wide, the first group from x = 80, groups 814 apart.
    const std::vector<std::pair<int, QColor>> row2000{
        {79, kWhite}, {80, kBlack},  {81, kRed},    {445, kRed},   {446, kBlack},
        {447, kBlue}, {812, kBlack}, {813, kWhite}, {893, kWhite}, {894, kBlack}};
    for (const auto& [x, colour] : row2000) EXPECT_EQ(At(x, 2000), colour) << x;
    EXPECT_EQ(At(85, 1845), kWhite);  // 12.5 % of 0.76 H above the base line: 1846
    EXPECT_EQ(At(85, 1846), kBlack);

    const auto& texts = printer.texts();
    EXPECT_EQ(texts[0].text, QByteArray("Ankieta: Sonda, Pytanie nr 1"));
    for (int a = 1; a <= 3; ++a) EXPECT_EQ(texts[a].y, 2058);
    // The legend of channels 1 and 3: a box in the channel's colour, the label black on white.
    EXPECT_EQ(At(15, 180), kRed);
    EXPECT_EQ(At(1767, 180), kBlue);
    std::vector<QPoint> legend;
    for (const auto& text : texts) {
        if (text.text.startsWith("klasa")) legend.push_back({text.x, text.y});
    }
    EXPECT_EQ(legend, (std::vector<QPoint>{{175, 175}, {1928, 175}}));
}

TEST(ComparisonPrintout, BeforeAnyDrawingThePageHasTheFrameAndLettersWithoutBars) {
    testing_support::RecordingPrinter printer;
    const stats::ChannelStore store = Survey();
    charts::PrintChartPage(printer, stats::ComparisonHeader(store),
                           [&](platform::Canvas& canvas, std::uint16_t H, std::uint16_t W) {
                               stats::PrintComparisonBody(canvas, store, {}, Looks(), false, H, W);
                           });
    ASSERT_EQ(printer.pages().size(), 1u);
    EXPECT_EQ(printer.texts().size(), 1u + 3);  // the header and the letters
    EXPECT_EQ(QColor(printer.pages()[0].pixel(100, 2000)), kWhite);
}
