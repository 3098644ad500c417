// A questionnaire written in the editor, its sheets printed, ticked with known answers and
// scanned (turned a little, one upside down, one page missing, one sheet twice), read with
// "Wczytaj skany arkuszy…", the doubtful ones corrected in the review window by keyboard, and
// saved: the results file holds exactly the counts of the answers ticked.
#include <gtest/gtest.h>

#include <QTest>
#include <random>

#include "app/program.h"
#include "platform/encoding.h"
#include "results/results_test_files.h"
#include "scan/sheet_layout.h"
#include "support/program_on_folder.h"
#include "test_scans.h"

namespace {

using test_scans::Mark;

constexpr int kDotsPerInch = 150;
// Six questions, the last one alone on the sheet's second page.
const std::vector<int> kAnswerCounts{2, 3, 9, 9, 9, 4};
constexpr int kSheets = 4;
// The answers ticked, sheet by sheet and question by question, as letters.
const char* const kTicked[kSheets][6] = {
    {"a", "b", "ac", "i", "e", "d"},
    {"b", "c", "b", "a", "", "a"},
    {"a", "a", "c", "h", "f", "b"},
    {"b", "b", "i", "ab", "g", "c"},
};
// Sheet 2: a cross drawn too faintly to tell (the person sees it on paper: 3 d is crossed) and a
// cross taken back by filling its box in (1 a, not counted).
constexpr int kFaintQuestion = 3, kFaintAnswer = 4;
constexpr int kFilledQuestion = 1, kFilledAnswer = 1;

bool Ticked(int sheet, int question, int answer) {
    return QByteArray(kTicked[sheet - 1][question - 1])
        .contains(static_cast<char>('a' + answer - 1));
}
// What the person reads on the paper: the ticks, and the faint cross that is one.
bool OnPaper(int sheet, int question, int answer) {
    return Ticked(sheet, question, answer) ||
           (sheet == 2 && question == kFaintQuestion && answer == kFaintAnswer);
}

}  // namespace

TEST(ScannedSheetsInProgram,
     SheetsPrintedTickedAndScannedBecomeExactlyTheirCountsInTheSavedResults) {
    // An A4 page at 150 dpi, so that the paper fills the recorded page.
    testing_support::ProgramOnFolder run(QSize(1754, 1240), kDotsPerInch);
    testing_support::TempFolder& folder = run.folder;
    testing_support::ScriptedDialogs& dialogs = run.dialogs;
    app::Program& program = run.program;

    // The editor: the questionnaire, saved, and its sheets printed.
    QTest::mouseClick(program.Form0->Button1, Qt::LeftButton);
    editor::TForm1& editor = *program.Form1;
    for (std::size_t q = 0; q < kAnswerCounts.size(); ++q) {
        if (q > 0) {
            dialogs.answers.push_back(true);  // a question more
            editor.Button1->click();
        }
        editor.Edit(1)->setText(QStringLiteral("Pytanie %1").arg(q + 1));
        for (int a = 1; a <= kAnswerCounts[q]; ++a) {
            editor.Edit(2 * a + 1)->setText(
                QStringLiteral("odpowiedź %1").arg(QChar(u'A' + a - 1)));
        }
    }
    const QString survey = folder.File("klasa.ank");
    dialogs.fileNames.push_back(survey);
    editor.Zapisz2->trigger();
    dialogs.numbers.push_back(std::vector<int>{kSheets, 1});
    editor.Drukujarkuszedoskanowania1->trigger();
    ASSERT_EQ(run.printer.pages().size(), 2u * kSheets);
    editor.close();

    // Ticked and scanned: every page a file, but sheet 3's second page; sheet 4 scanned twice.
    results::ResultsTally counts;
    counts.QuestionCount = static_cast<std::uint8_t>(kAnswerCounts.size());
    for (std::size_t q = 0; q < kAnswerCounts.size(); ++q) {
        counts.AnswerCount[q + 1] = static_cast<std::uint8_t>(kAnswerCounts[q]);
    }
    const std::vector<scan::SheetPage> layout = scan::LayOutSheet(counts);
    ASSERT_EQ(layout.size(), 2u);
    QDir(folder.path()).mkdir(QStringLiteral("skany"));
    std::mt19937 random(27);
    for (int sheet = 1; sheet <= kSheets; ++sheet) {
        for (const scan::SheetPage& page : layout) {
            QImage paper =
                run.printer.pages()[static_cast<std::size_t>(2 * (sheet - 1) + page.number - 1)]
                    .convertToFormat(QImage::Format_Grayscale8);
            for (const scan::QuestionPlace& question : page.questions) {
                for (const scan::AnswerPlace& answer : question.answers) {
                    Mark mark =
                        Ticked(sheet, question.question, answer.answer) ? Mark::Cross : Mark::None;
                    if (sheet == 2 && question.question == kFaintQuestion &&
                        answer.answer == kFaintAnswer) {
                        mark = Mark::Faint;
                    }
                    if (sheet == 2 && question.question == kFilledQuestion &&
                        answer.answer == kFilledAnswer) {
                        mark = Mark::FilledIn;
                    }
                    if (mark != Mark::None)
                        test_scans::DrawMark(paper, kDotsPerInch, mark, answer.box, random);
                }
            }
            if (sheet == 3 && page.number == 2) continue;
            test_scans::ScannerLook look;
            look.rotationDegrees = (sheet % 2 ? 1.5 : -2.0);
            look.upsideDown = sheet == 2 && page.number == 1;
            const QByteArray file = test_scans::ScanFile(paper, kDotsPerInch, look, random);
            const QString name =
                QStringLiteral("skany/arkusz%1-strona%2.png").arg(sheet).arg(page.number);
            testing_support::WriteBytes(folder.File(name), file);
            if (sheet == 4 && page.number == 1) {
                testing_support::WriteBytes(folder.File("skany/zz-drugi-raz.png"), file);
            }
        }
    }

    // The results manager: new results of the survey file, the scans read.
    QTest::mouseClick(program.Form0->Button2, Qt::LeftButton);
    results::TForm3& manager = *program.Form3;
    dialogs.fileNames.push_back(survey);
    manager.Nowewynikizankiety1->trigger();
    dialogs.fileLists.push_back({folder.File("skany")});
    manager.Wczytajskanyarkuszy1->trigger();

    // The review window: sheet 2's faint cross, sheet 3's page not scanned. The person sets each
    // question shown as the paper has it, by keyboard, and goes on with Enter.
    scan::SheetReviewWindow& review = *program.SheetReview;
    ASSERT_TRUE(review.isVisible());
    std::vector<int> reviewed;
    for (int presses = 0; review.isVisible() && presses < 100; ++presses) {
        const int sheet = review.CurrentSheet().number;
        if (reviewed.empty() || reviewed.back() != sheet) reviewed.push_back(sheet);
        const int q = review.Typing().Question();
        for (int a = 1; a <= kAnswerCounts[static_cast<std::size_t>(q - 1)]; ++a) {
            if (review.Typing().Sheet().IsMarked(q, a) != OnPaper(sheet, q, a)) {
                QTest::keyClick(&review, static_cast<char>('a' + a - 1));
            }
        }
        QTest::keyClick(&review, Qt::Key_Return);
    }
    EXPECT_FALSE(review.isVisible());
    EXPECT_EQ(reviewed, (std::vector<int>{2, 3}));

    ASSERT_EQ(dialogs.notices().size(), 1);
    const QStringList summary = dialogs.notices().front().split(u'\n');
    EXPECT_EQ(summary.mid(0, 4),
              (QStringList{QStringLiteral("Wczytane pliki: 8, strony: 8."),
                           QStringLiteral("Dodane arkusze: 4, w tym sprawdzone: 2."),
                           QStringLiteral("Sprawdzone arkusze: 2 (dodane: 2, pominięte: 0)."),
                           QStringLiteral("Nieodczytane strony: 1.")}));
    EXPECT_EQ(summary.value(4),
              QStringLiteral("zz-drugi-raz.png, strona 1: strona 1 arkusza 4 już wczytano"));

    // Saved: exactly the counts of what the paper holds, byte for byte.
    dialogs.fileNames.push_back(folder.File("wyniki"));
    manager.Zapisz1->trigger();
    QList<QByteArray> expected{"RESULTS", platform::ToCodePage(survey), QByteArray::number(kSheets),
                               QByteArray::number(static_cast<int>(kAnswerCounts.size()))};
    for (std::size_t q = 1; q <= kAnswerCounts.size(); ++q) {
        expected << QByteArray::number(kAnswerCounts[q - 1]);
        for (int a = 1; a <= kAnswerCounts[q - 1]; ++a) {
            int count = 0;
            for (int sheet = 1; sheet <= kSheets; ++sheet)
                count += OnPaper(sheet, static_cast<int>(q), a);
            expected << QByteArray::number(count);
        }
    }
    expected << manager.Results().SurveyText;
    EXPECT_EQ(testing_support::ReadBytes(folder.File("wyniki.wyn")),
              results_testing::Lines(expected));
    EXPECT_TRUE(dialogs.errors().isEmpty());
}
