// Scanned pages joined into sheets: in any order, with a page missing or a box doubtful, and
// the pages that cannot be used.
#include <gtest/gtest.h>

#include <map>

#include "scan/sheet_assembly.h"
#include "test_scans.h"

namespace {

using scan::BoxMark;

// A questionnaire of five questions of nine answers, over two pages: 1 to 4, then 5.
const scan::ScanTarget& Target() {
    static const scan::ScanTarget target = test_scans::MakeSurvey({9, 9, 9, 9, 9}).target;
    return target;
}

// Page `page` of sheet `sheet` as read, every box empty but those given.
scan::ScannedPage Page(int sheet, int page, const std::map<std::pair<int, int>, BoxMark>& marks = {},
                       const QString& file = QStringLiteral("skan.pdf")) {
    scan::ScannedPage scanned{file, page, {}, {}};
    scanned.reading.code = {Target().fingerprints.front(), sheet, page, 2};
    for (const scan::QuestionPlace& question : Target().layout[static_cast<std::size_t>(page - 1)].questions) {
        bool doubtful = false;
        for (const scan::AnswerPlace& answer : question.answers) {
            const auto found = marks.find({question.question, answer.answer});
            const BoxMark mark = found == marks.end() ? BoxMark::Empty : found->second;
            scanned.reading.boxes.push_back({question.question, answer.answer, mark});
            doubtful = doubtful || mark == BoxMark::Uncertain;
        }
        if (doubtful) scanned.reading.doubtful.push_back({question.question, QImage(10, 10, QImage::Format_Grayscale8), {}});
    }
    return scanned;
}

TEST(SheetAssembly, JoinsThePagesOfEachSheetInAnyOrderFromAnyFile) {
    ASSERT_EQ(Target().layout.size(), 2u);
    ASSERT_EQ(Target().layout[1].questions.front().question, 5);
    scan::SheetAssembly assembly(Target(), {});
    assembly.Add(Page(5, 2, {{{5, 9}, BoxMark::Crossed}}, QStringLiteral("b.tif")));
    assembly.Add(Page(3, 1, {{{1, 2}, BoxMark::Crossed}, {{1, 3}, BoxMark::FilledIn}}));
    assembly.Add(Page(5, 1, {{{2, 1}, BoxMark::Crossed}, {{2, 7}, BoxMark::Crossed}}, QStringLiteral("a.png")));
    assembly.Add(Page(3, 2));
    const std::vector<scan::ScannedSheet> sheets = assembly.Sheets();
    ASSERT_EQ(sheets.size(), 2u);
    EXPECT_TRUE(assembly.Refused().empty());

    EXPECT_EQ(sheets[0].number, 3);
    EXPECT_TRUE(sheets[0].Certain());
    results::AnswerSheet three;
    three.Toggle(1, 2);  // the filled-in box is taken back: not marked
    EXPECT_EQ(sheets[0].marks, three);

    EXPECT_EQ(sheets[1].number, 5);
    EXPECT_TRUE(sheets[1].Certain());
    results::AnswerSheet five;
    five.Toggle(2, 1);
    five.Toggle(2, 7);
    five.Toggle(5, 9);
    EXPECT_EQ(sheets[1].marks, five);
}

TEST(SheetAssembly, ASheetWithADoubtfulBoxOrAMissingPageWaitsForAPerson) {
    scan::SheetAssembly assembly(Target(), {});
    assembly.Add(Page(8, 1, {{{3, 4}, BoxMark::Crossed}}));
    assembly.Add(Page(9, 2, {{{5, 1}, BoxMark::Uncertain}}));
    assembly.Add(Page(9, 1, {{{2, 2}, BoxMark::Crossed}, {{2, 3}, BoxMark::Uncertain}, {{2, 5}, BoxMark::Uncertain}}));
    const std::vector<scan::ScannedSheet> sheets = assembly.Sheets();
    ASSERT_EQ(sheets.size(), 2u);

    EXPECT_FALSE(sheets[0].Certain());
    EXPECT_EQ(sheets[0].missingPages, std::vector<int>{2});
    EXPECT_EQ(sheets[0].missingQuestions, std::vector<int>{5});
    EXPECT_TRUE(sheets[0].marks.IsMarked(3, 4));

    EXPECT_FALSE(sheets[1].Certain());
    EXPECT_TRUE(sheets[1].missingPages.empty());
    EXPECT_EQ(sheets[1].doubtfulQuestions, (std::vector<int>{2, 5}));
    ASSERT_EQ(sheets[1].pictures.size(), 2u);
    EXPECT_EQ(sheets[1].pictures[0].question, 2);
    EXPECT_EQ(sheets[1].pictures[1].question, 5);
    // The crossed box of a doubtful question is marked; the doubtful ones are not.
    EXPECT_TRUE(sheets[1].marks.IsMarked(2, 2));
    EXPECT_FALSE(sheets[1].marks.IsMarked(2, 3));
    EXPECT_FALSE(sheets[1].marks.IsMarked(5, 1));
}

TEST(SheetAssembly, RefusesPagesThatCannotBeUsedNamingTheReason) {
    scan::SheetAssembly assembly(Target(), {4});
    assembly.Add(Page(6, 1, {{{1, 1}, BoxMark::Crossed}}));
    struct Case {
        scan::ScannedPage page;
        QString reason;
    };
    std::vector<Case> cases;
    scan::ScannedPage broken{QStringLiteral("zepsuty.png"), 1, {}, QStringLiteral("nie można odczytać obrazu")};
    broken.reading.problem = scan::PageProblem::NoMarkers;
    cases.push_back({broken, QStringLiteral("nie można odczytać obrazu")});
    for (const scan::PageProblem problem :
         {scan::PageProblem::NoMarkers, scan::PageProblem::CodeUnreadable, scan::PageProblem::OtherSurvey}) {
        scan::ScannedPage page = Page(7, 1);
        page.reading.problem = problem;
        cases.push_back({page, scan::PageProblemText(problem)});
    }
    cases.push_back({Page(4, 2), QStringLiteral("arkusz 4 już wczytano")});
    cases.push_back({Page(6, 1), QStringLiteral("strona 1 arkusza 6 już wczytano")});
    for (const Case& c : cases) assembly.Add(c.page);

    ASSERT_EQ(assembly.Refused().size(), cases.size());
    for (std::size_t i = 0; i < cases.size(); ++i) {
        EXPECT_EQ(assembly.Refused()[i].reason, cases[i].reason);
        EXPECT_EQ(assembly.Refused()[i].file, cases[i].page.file);
        EXPECT_EQ(assembly.Refused()[i].page, cases[i].page.page);
    }
    EXPECT_EQ(scan::PageProblemText(scan::PageProblem::NoMarkers), QStringLiteral("nie znaleziono znaczników"));
    EXPECT_EQ(scan::PageProblemText(scan::PageProblem::CodeUnreadable), QStringLiteral("kod nieczytelny"));
    // The first copy of sheet 6's page stays; the refused pages make no sheet.
    const std::vector<scan::ScannedSheet> sheets = assembly.Sheets();
    ASSERT_EQ(sheets.size(), 1u);
    EXPECT_EQ(sheets[0].number, 6);
    EXPECT_TRUE(sheets[0].marks.IsMarked(1, 1));
}

}  // namespace
