// The results table as a text file and on paper.
#include <gtest/gtest.h>

#include "platform/round.h"
#include "results/results_table.h"
#include "support/recording_printer.h"

using namespace results;
using testing_support::RecordingPrinter;

namespace {

// A frame line written with its glyphs: box glyphs become their code page 437 bytes.
QByteArray Frame(const QString& glyphs) {
    static const QString boxes = QStringLiteral("╓╥╖╟╫╢╙╨╜║─");
    static const char bytes[] = "\xD6\xD2\xB7\xC7\xD7\xB6\xD3\xD0\xBD\xBA\xC4";
    QByteArray line;
    for (const QChar c : glyphs) {
        const qsizetype box = boxes.indexOf(c);
        line += box >= 0 ? bytes[box] : static_cast<char>(c.unicode());
    }
    return line;
}

ResultsTally TallyOf(int questions, int answers, std::uint16_t count = 1) {
    ResultsTally tally;
    tally.SurveyName = "C:\\ANKIETY\\ZAKUPY";
    tally.RespondentCount = 12;
    tally.QuestionCount = static_cast<std::uint8_t>(questions);
    for (int q = 1; q <= questions; ++q) {
        tally.AnswerCount[q] = static_cast<std::uint8_t>(answers);
        for (int a = 1; a <= answers; ++a) tally.AnswerTally[q][a] = count;
    }
    return tally;
}

}  // namespace

TEST(ResultsTableText, ByteForByteWithPaddedNumbersAndBlankCells) {
    ResultsTally tally = TallyOf(2, 4, 7);
    tally.AnswerCount[1] = 9;
    for (int a = 1; a <= 9; ++a) tally.AnswerTally[1][a] = static_cast<std::uint16_t>(a * 11);
    tally.AnswerTally[1][9] = 65535;
    tally.AnswerTally[2][1] = 0;
    const QList<QByteArray> expected{
        "Wyniki ankiety: ZAKUPY, Ankietowanych: 12",
        Frame(QStringLiteral("        ╓─────╥─────╥─────╥─────╥─────╥─────╥─────╥─────╥─────╖")),
        Frame(QStringLiteral("        ║  A  ║  B  ║  C  ║  D  ║  E  ║  F  ║  G  ║  H  ║  I  ║")),
        Frame(QStringLiteral("╓───────╫─────╫─────╫─────╫─────╫─────╫─────╫─────╫─────╫─────╢")),
        Frame(QStringLiteral("║Pyt.  1║   11║   22║   33║   44║   55║   66║   77║   88║65535║")),
        Frame(QStringLiteral("╟───────╫─────╫─────╫─────╫─────╫─────╫─────╫─────╫─────╫─────╢")),
        Frame(QStringLiteral("║Pyt.  2║    0║    7║    7║    7║     ║     ║     ║     ║     ║")),
        Frame(QStringLiteral("╙───────╨─────╨─────╨─────╨─────╨─────╨─────╨─────╨─────╨─────╜")),
    };
    EXPECT_EQ(TableTextLines(tally), expected);
    EXPECT_EQ(TableTextLines(TallyOf(0, 0)), expected.mid(0, 4));

    const QList<QByteArray> lines = TableTextLines(TallyOf(250, 2));
    ASSERT_EQ(lines.size(), 4 + 2 * 250);
    for (const int q : {7, 42, 250}) {
        EXPECT_EQ(lines[4 + 2 * (q - 1)].left(9), Frame(QStringLiteral("║Pyt.%1║").arg(q, 3)));
    }
    for (const QByteArray& line : lines.mid(1)) EXPECT_EQ(line.size(), 63);
}

TEST(ResultsTablePrintout, SeventyFiveQuestionsOnThreePagesEachItsOwnJob) {
    // Pages 1663 pixels high at 96 dpi: H = 1380, so 30 rows fit a page. At 300 dpi the same
    // page has 3.125 times the pixels and the table is scaled up with it.
    for (const int dpi : {96, 300}) {
        const double scale = dpi / 96.0;
        RecordingPrinter printer(QSize(1663 * scale + 0.5, 1200 * scale), dpi);
        PrintResultsTable(printer, TallyOf(75, 4, 65535));
        EXPECT_EQ(printer.jobsEnded(), 3);
        QList<QByteArray> headers, firstRows;
        std::vector<int> rows(3), counts(3);
        for (const auto& text : printer.texts()) {
            if (text.font.underline) headers << text.text;
            if (text.text.startsWith("Pyt.") && rows[text.page]++ == 0) {
                firstRows << text.text;
                EXPECT_EQ(text.y, platform::Round(93 * scale));
            }
            if (text.text == "65535") ++counts[text.page];
        }
        const QByteArray head = "Wyniki ankiety: C:\\ANKIETY\\ZAKUPY, Ankietowanych: 12,  Strona ";
        EXPECT_EQ(headers, QList<QByteArray>({head + "1z3", head + "2z3", head + "3z3"}));
        EXPECT_EQ(firstRows, QList<QByteArray>({"Pyt.1", "Pyt.31", "Pyt.61"}));
        EXPECT_EQ(rows, std::vector<int>({30, 30, 15}));
        EXPECT_EQ(counts, std::vector<int>({120, 120, 60}));  // no counts in cells E to I
    }
    // Page 3 at 96 dpi is ruled down to B = 15 × 43 + 85 and no further.
    RecordingPrinter printer(QSize(1663, 1200), 96);
    PrintResultsTable(printer, TallyOf(75, 4));
    EXPECT_EQ(QColor(printer.pages()[2].pixel(500, 730)), QColor(Qt::black));
    EXPECT_EQ(QColor(printer.pages()[2].pixel(500, 773)), QColor(Qt::white));

    RecordingPrinter tiny(QSize(100, 1000), 96);  // H = 83: no room for one row
    EXPECT_THROW(PrintResultsTable(tiny, TallyOf(3, 2)), platform::PrinterError);
    EXPECT_EQ(tiny.jobsStarted(), 0);
}
