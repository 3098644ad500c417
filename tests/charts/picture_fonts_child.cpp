// A program that draws the bar, pie and stripe pictures of one question on whatever Qt platform
// it is started on, for the test that compares platforms: for each picture it writes every font
// its texts were drawn with as Qt resolved it (family, style, pixel size, hinting, antialiasing)
// and a digest of the picture's pixels.
#include <QCryptographicHash>
#include <QFontInfo>
#include <QGuiApplication>
#include <cstdio>
#include <set>

#include "charts/bar_chart.h"
#include "charts/chart_windows.h"
#include "charts/pie_chart.h"
#include "charts/stripe_chart.h"
#include "platform/canvas.h"
#include "platform/fonts.h"
#include "tally_builder.h"

namespace {

void Report(const char* chart, const QImage& picture, const std::set<QString>& fonts) {
    for (const QString& font : fonts) std::printf("%s: %s\n", chart, font.toUtf8().constData());
    const QByteArray pixels(reinterpret_cast<const char*>(picture.constBits()),
                            picture.sizeInBytes());
    std::printf("%s: pixels %s\n", chart,
                QCryptographicHash::hash(pixels, QCryptographicHash::Sha1).toHex().constData());
}

template <typename Draw>
void DrawAndReport(const char* chart, QSize size, Draw draw) {
    QImage picture = charts::BlankPicture(size);
    platform::Canvas canvas(picture);
    std::set<QString> fonts;
    canvas.SetTextObserver([&](const platform::DrawnText& text) {
        platform::Canvas measuring;  // the font as the picture's canvas asks for it
        measuring.SetFont(text.font);
        const QFont font = measuring.QtFont();
        const QFontInfo info(font);
        fonts.insert(QStringLiteral("%1 %2 pt%3%4 -> %5 %6, %7 px, hinting %8, %9")
                         .arg(text.font.face)
                         .arg(text.font.points)
                         .arg(text.font.bold ? QStringLiteral(" bold") : QString(),
                              text.font.underline ? QStringLiteral(" underlined") : QString())
                         .arg(info.family(), info.styleName())
                         .arg(info.pixelSize())
                         .arg(font.hintingPreference())
                         .arg(font.styleStrategy() & QFont::NoAntialias
                                  ? QStringLiteral("no antialiasing")
                                  : QStringLiteral("antialiased")));
    });
    draw(canvas);
    Report(chart, picture, fonts);
}

}  // namespace

int main(int argc, char** argv) {
    QGuiApplication application(argc, argv);
    platform::RegisterFontSubstitutes();
    const results::ResultsTally tally = charts_testing::TallyOf(12, {{5, 4, 3}});
    const charts::BarChartShares bar =
        charts::ComputeBarShares(tally, 1, charts::PercentBase::Respondents);
    const charts::AnswerShares shares = charts::AnswerSharesOf(tally, 1);
    DrawAndReport("bar", charts::kBarPicture.size(),
                  [&](platform::Canvas& canvas) { charts::DrawBarChart(canvas, bar, true); });
    DrawAndReport("pie", charts::kPiePicture.size(),
                  [&](platform::Canvas& canvas) { charts::DrawPieChart(canvas, shares); });
    DrawAndReport("stripe", charts::kStripePicture.size(),
                  [&](platform::Canvas& canvas) { charts::DrawStripeChart(canvas, shares); });
    return 0;
}
