// The review window of scanned sheets, on made-up readings: the doubtful question as scanned with
// the decisions drawn on it, the typing keys that correct it, the page not scanned, the sheets
// skipped or left waiting, and the picture's frames that tell the decisions apart without colour.
#include "scan/sheet_review_window.h"

#include <gtest/gtest.h>

#include <QTest>

#include "scan/review_picture.h"
#include "scan_fixture.h"

namespace {

using scan::BoxMark;

// Eight questions of nine answers: two pages a sheet.
constexpr int kQuestions = 8;

// The question as a scan shows it: white with the boxes' borders, cut to the question's place.
scan::QuestionPicture PictureOf(const scan::QuestionPlace& place) {
    const QRectF area(place.title.left() - 2, place.title.top() - 2, place.title.width() + 4,
                      place.bottom - place.title.top() + 4);
    QImage picture(qRound(area.width() / 25.4 * 100), qRound(area.height() / 25.4 * 100),
                   QImage::Format_Grayscale8);
    picture.fill(255);
    return {place.question, picture, area};
}

class SheetReviewTest : public scan_testing::ScanResultsTest {
protected:
    SheetReviewTest() : ScanResultsTest(kQuestions, 9) { layout = scan::LayOutSheet(Tally()); }
    ~SheetReviewTest() override { window.hide(); }

    // Sheet `number` with answer a of question 1 crossed and question 2 doubtful.
    scan::ScannedSheet Doubtful(int number) const {
        scan::ScannedSheet sheet;
        sheet.number = number;
        sheet.marks.Toggle(1, 1);
        sheet.marks.Toggle(2, 1);
        sheet.doubtfulQuestions = {2};
        sheet.pictures = {PictureOf(layout[0].questions[1])};
        sheet.doubtfulBoxes = {
            {2, 1, BoxMark::Crossed}, {2, 2, BoxMark::Uncertain}, {2, 3, BoxMark::FilledIn}};
        for (int a = 4; a <= 9; ++a) sheet.doubtfulBoxes.push_back({2, a, BoxMark::Empty});
        return sheet;
    }
    void Review(std::vector<scan::ScannedSheet> sheets) {
        window.Review(std::move(sheets), [this](const scan::SheetReviewWindow::Outcome& o) {
            outcome = o;
            // The summary that follows comes up with the window off the screen.
            EXPECT_FALSE(window.isVisible());
        });
    }
    void Press(const char* keys) {
        for (const char* key = keys; *key; ++key) {
            if (*key == '\r') {
                QTest::keyClick(&window, Qt::Key_Return);
            } else {
                QTest::keyClick(&window, *key);
            }
        }
    }
    scan::SheetReviewWindow window{dialogs, manager, numbers};
    std::vector<scan::SheetPage> layout;
    std::optional<scan::SheetReviewWindow::Outcome> outcome;
};

TEST_F(SheetReviewTest, ADoubtfulQuestionIsShownAsScannedAndCorrectedByTheTypingKeys) {
    scan::ScannedSheet missing;
    missing.number = 18;
    missing.marks.Toggle(4, 9);
    missing.missingPages = {2};
    for (const scan::QuestionPlace& place : layout[1].questions) {
        missing.missingQuestions.push_back(place.question);
    }
    ASSERT_EQ(missing.missingQuestions, (std::vector<int>{5, 6, 7, 8}));
    Review({Doubtful(17), missing});
    ASSERT_TRUE(window.isVisible());
    EXPECT_EQ(window.Label1->text(), QStringLiteral("Arkusz 17, pytanie 2 z 8"));
    EXPECT_EQ(window.Label2->text(),
              QStringLiteral("Do sprawdzenia: pytanie 1 z 1 tego arkusza, arkusz 1 z 2"));
    EXPECT_EQ(window.Question[0]->text(), QStringLiteral("Pytanie"));
    EXPECT_FALSE(window.Image1->pixmap().isNull());
    EXPECT_EQ(
        window.Image1->accessibleDescription(),
        QStringLiteral("a: krzyżyk, b: niepewne, c: zamalowane (cofnięte), d: puste, e: puste, "
                       "f: puste, g: puste, h: puste, i: puste"));
    EXPECT_EQ(window.Answer[0]->text(),
              QStringLiteral("[X]  a) Odpowiedz 1      (odczyt: krzyżyk)"));
    EXPECT_EQ(window.Answer[1]->text(),
              QStringLiteral("[  ]  b) Odpowiedz 2      (odczyt: niepewne)"));

    Press("b\r");  // the uncertain box was a cross; Enter at the only question adds the sheet
    EXPECT_EQ(Tally().RespondentCount, 1);
    EXPECT_EQ(Tally().AnswerTally[1][1], 1);
    EXPECT_EQ(Tally().AnswerTally[2][1], 1);
    EXPECT_EQ(Tally().AnswerTally[2][2], 1);
    EXPECT_EQ(Tally().AnswerTally[2][3], 0);  // filled in: taken back
    EXPECT_TRUE(numbers.Numbers().contains(17));

    // The next sheet: its second page was not scanned, its questions are typed from paper.
    EXPECT_EQ(window.Label1->text(), QStringLiteral("Arkusz 18, pytanie 5 z 8"));
    EXPECT_TRUE(window.Image1->text().contains(QStringLiteral("strona 2 nie została zeskanowana")));
    EXPECT_EQ(window.Answer[0]->text(), QStringLiteral("[  ]  a) Odpowiedz 1"));
    Press("c\rz\r");
    QTest::keyClick(&window, Qt::Key_Left);
    Press("1\r\r");
    EXPECT_EQ(window.Typing().Question(), 8);
    EXPECT_FALSE(outcome);
    Press("\r");
    ASSERT_TRUE(outcome);
    EXPECT_EQ(outcome->added, 2);
    EXPECT_EQ(outcome->unchecked, 0);
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(Tally().RespondentCount, 2);
    EXPECT_EQ(Tally().AnswerTally[5][3], 1);
    EXPECT_EQ(Tally().AnswerTally[6][1], 1);
    EXPECT_EQ(Tally().AnswerTally[4][9], 1);  // read from the pages that were scanned
    EXPECT_EQ(numbers.Numbers(), (QSet<int>{17, 18}));
}

TEST_F(SheetReviewTest, SheetsSkippedOrStillWaitingWhenTheWindowClosesStayOut) {
    Review({Doubtful(1), Doubtful(2), Doubtful(3)});
    window.Button1->click();  // "Pomiń arkusz"
    EXPECT_EQ(window.Label1->text(), QStringLiteral("Arkusz 2, pytanie 2 z 8"));
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    QTest::keyClick(&window, Qt::Key_Escape);  // "Koniec"
    ASSERT_TRUE(outcome);
    EXPECT_EQ(outcome->added, 0);
    EXPECT_EQ(outcome->skipped, 1);
    EXPECT_EQ(outcome->unchecked, 2);
    EXPECT_FALSE(outcome->resultsClosed);
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(Tally().RespondentCount, 0);
    EXPECT_TRUE(numbers.Numbers().isEmpty());

    // Results reset in the middle of a review: it ends, and the numbers read are forgotten.
    outcome.reset();
    Review({Doubtful(4), Doubtful(5)});
    Press("\r");
    EXPECT_TRUE(numbers.Numbers().contains(4));
    dialogs.answers.push_back(true);
    manager.Wyzeruj1->trigger();
    ASSERT_TRUE(outcome);
    EXPECT_TRUE(outcome->resultsClosed);
    EXPECT_EQ(outcome->added, 1);
    EXPECT_EQ(outcome->unchecked, 1);
    EXPECT_FALSE(window.isVisible());
    EXPECT_TRUE(numbers.Numbers().isEmpty());
}

TEST_F(SheetReviewTest, EachDecisionHasAFrameOfItsOwnLinesAroundTheBoxAndTheInkStaysVisible) {
    const scan::QuestionPlace& place = layout[0].questions[1];
    const scan::QuestionPicture shot = PictureOf(place);
    // The pixels of the frame's top edge, this far outside the box, that are not white.
    const auto drawnAt = [&](BoxMark mark, int outset) {
        const QImage shown = scan::ReviewPicture(shot, place, {{2, 1, mark}});
        EXPECT_EQ(shown.size(), shot.picture.size() + QSize(2, 2) * scan::kReviewMargin);
        const double scale = shot.picture.width() / shot.area.width();
        const QRectF& box = place.answers[0].box;
        const int left = scan::kReviewMargin + qRound((box.left() - shot.area.left()) * scale);
        const int right = scan::kReviewMargin + qRound((box.right() - shot.area.left()) * scale);
        const int top = scan::kReviewMargin + qRound((box.top() - shot.area.top()) * scale);
        EXPECT_EQ(shown.pixelColor((left + right) / 2, top + 4), QColor(Qt::white));  // inside
        int drawn = 0;
        for (int x = left; x < right; ++x)
            drawn += shown.pixelColor(x, top - outset) != QColor(Qt::white);
        return 100 * drawn / (right - left);
    };
    struct Case {
        BoxMark mark;
        std::array<int, 4> percentAtOutset;  // 2, 3, 4, 5 pixels outside
    };
    for (const Case& c :
         {Case{BoxMark::Crossed, {100, 100, 100, 0}}, Case{BoxMark::FilledIn, {100, 0, 0, 100}},
          Case{BoxMark::Uncertain, {50, 50, 50, 0}}, Case{BoxMark::Empty, {0, 50, 0, 0}}}) {
        SCOPED_TRACE(scan::BoxMarkName(c.mark).toStdString());
        for (int outset = 2; outset <= 5; ++outset) {
            EXPECT_NEAR(drawnAt(c.mark, outset), c.percentAtOutset[outset - 2], 5);
        }
    }
}

}  // namespace
