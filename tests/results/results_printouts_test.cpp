// The results table as a text file and on paper, and the survey text printout.
#include <gtest/gtest.h>

#include <QAction>
#include <QDir>

#include "results/results_manager_window.h"
#include "results/results_table.h"
#include "results/survey_text_window.h"
#include "results_test_files.h"
#include "support/recording_printer.h"
#include "support/scripted_dialogs.h"
#include "support/temp_folder.h"

using namespace results;
using testing_support::RecordingPrinter;

namespace {

// Bytes of a frame line written with its glyphs: the box glyphs become their code page 437
// bytes, everything else is plain ASCII.
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

const QString kTop =
    QStringLiteral("        ╓─────╥─────╥─────╥─────╥─────╥─────╥─────╥─────╥─────╖");
const QString kLetters =
    QStringLiteral("        ║  A  ║  B  ║  C  ║  D  ║  E  ║  F  ║  G  ║  H  ║  I  ║");
const QString kHead =
    QStringLiteral("╓───────╫─────╫─────╫─────╫─────╫─────╫─────╫─────╫─────╫─────╢");
const QString kBetween =
    QStringLiteral("╟───────╫─────╫─────╫─────╫─────╫─────╫─────╫─────╫─────╫─────╢");
const QString kBottom =
    QStringLiteral("╙───────╨─────╨─────╨─────╨─────╨─────╨─────╨─────╨─────╨─────╜");

ResultsTally TallyOf(int questions, int answers, std::uint16_t count = 1) {
    ResultsTally tally;
    tally.SurveyName = "Zakupy";
    tally.RespondentCount = 12;
    tally.QuestionCount = static_cast<std::uint8_t>(questions);
    for (int q = 1; q <= questions; ++q) {
        tally.AnswerCount[q] = static_cast<std::uint8_t>(answers);
        for (int a = 1; a <= answers; ++a) tally.AnswerTally[q][a] = count;
    }
    return tally;
}

}  // namespace

TEST(ResultsTableText, SmallTableByteForByte) {
    ResultsTally tally = TallyOf(2, 0);
    tally.SurveyName = "C:\\ANKIETY\\ZAKUPY";
    tally.RespondentCount = 65535;
    tally.AnswerCount[1] = 9;
    for (int a = 1; a <= 9; ++a) tally.AnswerTally[1][a] = static_cast<std::uint16_t>(a * 11);
    tally.AnswerTally[1][9] = 65535;
    tally.AnswerCount[2] = 4;
    tally.AnswerTally[2][1] = 0;
    tally.AnswerTally[2][4] = 7;
    const QList<QByteArray> expected{
        "Wyniki ankiety: ZAKUPY, Ankietowanych: 65535",
        Frame(kTop),
        Frame(kLetters),
        Frame(kHead),
        Frame(QStringLiteral("║Pyt.  1║   11║   22║   33║   44║   55║   66║   77║   88║65535║")),
        Frame(kBetween),
        Frame(QStringLiteral("║Pyt.  2║    0║    0║    0║    7║     ║     ║     ║     ║     ║")),
        Frame(kBottom),
    };
    EXPECT_EQ(TableTextLines(tally), expected);
    for (const QByteArray& line : expected.mid(1)) EXPECT_EQ(line.size(), 63);

    // Without questions only the header, the top and the letters' band remain.
    EXPECT_EQ(TableTextLines(TallyOf(0, 0)),
              QList<QByteArray>({"Wyniki ankiety: Zakupy, Ankietowanych: 12", Frame(kTop),
                                 Frame(kLetters), Frame(kHead)}));
}

TEST(ResultsTableText, QuestionNumbersArePaddedToThreeCharacters) {
    const QList<QByteArray> lines = TableTextLines(TallyOf(250, 2));
    ASSERT_EQ(lines.size(), 4 + 2 * 250);
    const auto row = [&lines](int q) { return lines[4 + 2 * (q - 1)].left(9); };
    EXPECT_EQ(row(7), Frame(QStringLiteral("║Pyt.  7║")));
    EXPECT_EQ(row(42), Frame(QStringLiteral("║Pyt. 42║")));
    EXPECT_EQ(row(250), Frame(QStringLiteral("║Pyt.250║")));
    EXPECT_EQ(lines[4 + 2 * 249 - 1], Frame(kBetween));
    EXPECT_EQ(lines.last(), Frame(kBottom));
}

TEST(ResultsTablePages, RowsSplitIntoFullPagesAndARest) {
    EXPECT_EQ(RowsPerPage(1380), 30);
    const auto pages = SplitIntoPages(75, 30);
    ASSERT_EQ(pages.size(), 3u);
    EXPECT_EQ(std::vector<int>({pages[0].first, pages[1].first, pages[2].first}),
              std::vector<int>({1, 31, 61}));
    EXPECT_EQ(std::vector<int>({pages[0].rows, pages[1].rows, pages[2].rows}),
              std::vector<int>({30, 30, 15}));
    EXPECT_EQ(SplitIntoPages(30, 30).size(), 1u);
    EXPECT_EQ(SplitIntoPages(60, 30).back().rows, 30);
}

TEST(ResultsTablePrintout, SeventyFiveQuestionsOnThreePagesEachItsOwnJob) {
    // 1663 pixels high: H = 1380, so 30 rows fit a page.
    RecordingPrinter printer(QSize(1663, 1200), 96);
    ResultsTally tally = TallyOf(75, 4, 65535);
    tally.SurveyName = "C:\\ANKIETY\\ZAKUPY";
    PrintResultsTable(printer, tally);

    EXPECT_EQ(printer.jobsStarted(), 3);
    EXPECT_EQ(printer.jobsEnded(), 3);
    ASSERT_EQ(printer.pages().size(), 3u);
    EXPECT_EQ(printer.pageOrientations()[0], platform::Orientation::Portrait);
    QList<QByteArray> headers, firstRows;
    std::vector<int> rows(3), counts(3);
    for (const auto& text : printer.texts()) {
        if (text.font.underline) headers << text.text;
        if (text.text.startsWith("Pyt.")) {
            EXPECT_TRUE(text.font.bold);
            if (rows[text.page]++ == 0) firstRows << text.text;
        }
        if (text.text == "65535") ++counts[text.page];
    }
    const QByteArray head = "Wyniki ankiety: C:\\ANKIETY\\ZAKUPY, Ankietowanych: 12,  Strona ";
    EXPECT_EQ(headers, QList<QByteArray>({head + "1z3", head + "2z3", head + "3z3"}));
    EXPECT_EQ(firstRows, QList<QByteArray>({"Pyt.1", "Pyt.31", "Pyt.61"}));
    EXPECT_EQ(rows, std::vector<int>({30, 30, 15}));
    EXPECT_EQ(counts, std::vector<int>({120, 120, 60}));  // four answers, no cells E to I

    // Page 3: fifteen rows, ruled down to B = 15 × 43 + 85 and no further; W = 1116.
    const QImage& last = printer.pages()[2];
    EXPECT_EQ(QColor(last.pixel(500, 730)), QColor(Qt::black));
    EXPECT_EQ(QColor(last.pixel(0, 729)), QColor(Qt::black));
    EXPECT_EQ(QColor(last.pixel(112, 60)), QColor(Qt::black));
    EXPECT_EQ(QColor(last.pixel(500, 773)), QColor(Qt::white));
    const auto& letterA = std::find_if(printer.texts().begin(), printer.texts().end(),
                                       [](const auto& t) { return t.text == "A"; });
    ASSERT_NE(letterA, printer.texts().end());
    EXPECT_EQ(letterA->y, 50);
    EXPECT_TRUE(letterA->font.bold);
}

TEST(ResultsTablePrintout, AFinerPrinterGetsTheSameTableScaledUp) {
    // The page of the test above at 300 dpi: 3.125 times as many pixels each way.
    RecordingPrinter printer(QSize(5197, 3750), 300);
    PrintResultsTable(printer, TallyOf(75, 4));
    EXPECT_EQ(printer.jobsStarted(), 3);
    const auto& texts = printer.texts();
    const auto row31 =
        std::find_if(texts.begin(), texts.end(), [](const auto& t) { return t.text == "Pyt.31"; });
    ASSERT_NE(row31, texts.end());
    EXPECT_EQ(row31->page, 1);
    EXPECT_EQ(QPoint(row31->x, row31->y), QPoint(31, 291));  // (10, 93) scaled
}

TEST(ResultsTablePrintout, APageTooSmallForOneRowPrintsNothing) {
    RecordingPrinter printer(QSize(100, 1000), 96);  // H = 83
    EXPECT_THROW(PrintResultsTable(printer, TallyOf(3, 2)), platform::PrinterError);
    EXPECT_EQ(printer.jobsStarted(), 0);
}

namespace {

class QuietLauncher : public platform::LauncherControl {
public:
    void ShowLauncher() override {}
    void HideLauncher() override {}
};

class ResultsPrintoutsTest : public ::testing::Test {
protected:
    ResultsPrintoutsTest() { window.ShowForm(); }
    ~ResultsPrintoutsTest() override { window.hide(); }
    void Choose(QAction* item, const QByteArray& bytes) {
        testing_support::WriteBytes(folder.File("ankieta.wyn"), bytes);
        dialogs.fileNames.push_back(folder.File("ankieta.wyn"));
        item->trigger();
    }

    testing_support::TempFolder folder;
    testing_support::ScriptedDialogs dialogs;
    RecordingPrinter printer{QSize(3200, 2300), 96};
    ResultsStore store;
    QuietLauncher launcher;
    TForm3 window{dialogs, printer, store, launcher};
    TForm8 text{dialogs, printer, store};
};

}  // namespace

TEST_F(ResultsPrintoutsTest, AfterAMergeTheFileAndThePageStateTheSummedRespondents) {
    Choose(window.Otwrz1, results_testing::ExampleFile("C:\\ANKIETY\\ZAKUPY"));
    Choose(window.Dodaj1, results_testing::ExampleFile("C:\\ANKIETY\\ZAKUPY"));
    const QString older = folder.File("tabela.TXT");
    testing_support::WriteBytes(older, "stara tabela");
    dialogs.fileNames.push_back(folder.File("tabela.txt"));
    window.Button2->click();
    const auto* dialog = dialogs.Last(testing_support::ScriptedDialogs::Kind::SaveFile);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->options.title, QStringLiteral("Wpisz nazwę pliku z wynikami..."));
    EXPECT_EQ(dialog->options.filter, QStringLiteral("Pliki tekstowe (*.txt)|*.txt"));
    EXPECT_TRUE(dialog->options.initialFolder.isEmpty());
    const QByteArray file = testing_support::ReadBytes(older);
    EXPECT_TRUE(file.startsWith("Wyniki ankiety: ZAKUPY, Ankietowanych: 24\r\n"));
    EXPECT_TRUE(file.endsWith(Frame(kBottom) + "\r\n"));
    EXPECT_EQ(file.count("\r\n"), 4 + 2 * 2);

    window.Button3->click();
    ASSERT_FALSE(printer.texts().empty());
    EXPECT_EQ(printer.texts()[0].text,
              QByteArray("Wyniki ankiety: C:\\ANKIETY\\ZAKUPY, Ankietowanych: 24,  Strona 1z1"));
    EXPECT_TRUE(dialogs.errors().isEmpty());
}

TEST_F(ResultsPrintoutsTest, SurveyTextPrintsEachLineAfterFiveBlanks) {
    text.Button1->click();  // nothing loaded: an empty job
    EXPECT_EQ(printer.jobsEnded(), 1);
    EXPECT_TRUE(printer.texts().empty());

    Choose(window.Otwrz1, results_testing::ExampleFile());
    text.Button1->click();
    ASSERT_EQ(printer.texts().size(), 2u);
    EXPECT_EQ(printer.texts()[0].text, QByteArray("     Pytanie o \x9Cwi\xB9tecznych zakupach"));
    EXPECT_EQ(printer.texts()[1].text, QByteArray("     Tak / Nie"));
    EXPECT_EQ(printer.texts()[1].font.face, QStringLiteral("times new roman"));
    EXPECT_EQ(printer.texts()[1].font.points, 12);
    EXPECT_EQ(printer.jobsEnded(), 2);
    EXPECT_EQ(printer.pageOrientations().back(), platform::Orientation::Portrait);
}
