// The typing window: keys that mark and move, sheets added, shown and taken back, the refused
// sheet, the question texts, and the recovery file behind it.
#include <QLabel>
#include <cmath>

#include "collect_fixture.h"
#include "collect/sheet_typing.h"
#include "results/results_file.h"

using collect_testing::CollectTest;
using collect_testing::Record;

namespace {

class SheetEntryTest : public CollectTest {
protected:
    // New results of `questions` questions of three answers "Tak", "Nie", "Nie wiem", typing open.
    void StartTyping(int questions) {
        const editor::QuestionRecord question =
            Record({{1, "Pytanie"}, {3, "Tak"}, {5, "Nie"}, {7, "Nie wiem"}});
        survey = WriteSurvey("ankieta.ank", std::vector<editor::QuestionRecord>(questions, question));
        NewResults(survey);
        window.OpenSheetEntry();
    }
    QString Marks() const {
        QStringList marks;
        for (const QLabel* answer : window.Answer) {
            if (answer->isVisibleTo(&window)) marks << answer->text();
        }
        return marks.join(u'|');
    }
    std::vector<std::uint16_t> Counts(int question) const {
        const auto& row = Tally().AnswerTally[question];
        return {row.begin() + 1, row.begin() + 1 + Tally().AnswerCount[question]};
    }

    // The contrast ratio of black text on a colour, from 1 (black) to 21 (white).
    static double ContrastToBlack(QColor colour) {
        const auto linear = [](double c) {
            return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
        };
        const double luminance = 0.2126 * linear(colour.redF()) + 0.7152 * linear(colour.greenF()) +
                                 0.0722 * linear(colour.blueF());
        return (luminance + 0.05) / 0.05;
    }

    QString survey;
};

}  // namespace

TEST_F(SheetEntryTest, ATwentyQuestionSheetTakesFortyKeyPressesAndIsAddedAtTheLastEnter) {
    StartTyping(20);
    int presses = 0;
    for (int q = 1; q <= 20; ++q) {
        EXPECT_EQ(window.Label1->text(), QStringLiteral("Arkusz 1, pytanie %1 z 20").arg(q));
        QTest::keyClick(&window, q % 2 ? 'a' : 'c');
        QTest::keyClick(&window, Qt::Key_Return);
        presses += 2;
    }
    EXPECT_EQ(presses, 40);
    EXPECT_EQ(window.SheetsAdded(), 1);
    EXPECT_EQ(Tally().RespondentCount, 1);
    EXPECT_EQ(Counts(1), (std::vector<std::uint16_t>{1, 0, 0}));
    EXPECT_EQ(Counts(20), (std::vector<std::uint16_t>{0, 0, 1}));
    EXPECT_EQ(manager.StringGrid1->Cell(3, 2), QStringLiteral("1"));
    EXPECT_TRUE(manager.Caption().endsWith(QStringLiteral(", Ankietowanych: 1")));
    EXPECT_EQ(window.Label1->text(), QStringLiteral("Arkusz 2, pytanie 1 z 20"));
    EXPECT_EQ(window.Label3->text(), QStringLiteral("Dodane arkusze: 1"));
    EXPECT_TRUE(window.Memo1->toPlainText().startsWith(QStringLiteral("Ostatni arkusz:  1: a   2: c   3: a")));
    EXPECT_EQ(Marks(), QStringLiteral("[  ]  a) Tak|[  ]  b) Nie|[  ]  c) Nie wiem"));
}

TEST_F(SheetEntryTest, LettersAndDigitsToggleTheQuestionsAnswersAndArrowsMove) {
    StartTyping(2);
    EXPECT_EQ(window.Question[0]->text(), QStringLiteral("Pytanie"));
    QTest::keyClick(&window, 'a');
    QTest::keyClick(&window, 'C');
    QTest::keyClick(&window, 'd');  // question 1 has three answers
    QTest::keyClick(&window, Qt::Key_9);
    EXPECT_EQ(Marks(), QStringLiteral("[X]  a) Tak|[  ]  b) Nie|[X]  c) Nie wiem"));
    // Marked answers are highlighted, black on a light colour; the others keep the window's.
    for (int a : {0, 1, 2}) {
        const QLabel* answer = window.Answer[a];
        const bool marked = a != 1;
        EXPECT_EQ(answer->autoFillBackground(), marked) << a;
        const QColor background = answer->palette().color(QPalette::Window);
        EXPECT_EQ(background != window.palette().color(QPalette::Window), marked) << a;
        if (marked) {
            EXPECT_EQ(answer->palette().color(QPalette::WindowText), QColor(Qt::black));
            // Black on it reads as well as on white, nearly (contrast at least 15 to 1 of 21).
            EXPECT_GT(ContrastToBlack(background), 15.0);
        }
    }
    QTest::keyClick(&window, Qt::Key_1);  // the same answer as a
    EXPECT_EQ(window.Typing().Sheet().Marked[1], 0b100);
    EXPECT_FALSE(window.Answer[0]->autoFillBackground());  // unmarked again
    QTest::keyClick(&window, Qt::Key_Left);  // nothing before question 1
    QTest::keyClick(&window, Qt::Key_Right);
    QTest::keyClick(&window, Qt::Key_Right);  // nor after the last: only Enter adds
    QTest::keyClick(&window, Qt::Key_2);
    EXPECT_EQ(window.Typing().Question(), 2);
    QTest::keyClick(&window, Qt::Key_Up);
    QTest::keyClick(&window, Qt::Key_Down);
    EXPECT_EQ(window.SheetsAdded(), 0);
    QTest::keyClick(&window, Qt::Key_Enter);  // the keypad's Enter
    EXPECT_EQ(window.SheetsAdded(), 1);
    EXPECT_EQ(Counts(1), (std::vector<std::uint16_t>{0, 0, 1}));
    EXPECT_EQ(Counts(2), (std::vector<std::uint16_t>{0, 1, 0}));
}

TEST_F(SheetEntryTest, SheetsAreTakenBackOneByOneDownToWhereTheWindowOpened) {
    StartTyping(1);
    TypeSheet({QStringLiteral("a")});
    window.close();
    window.OpenSheetEntry();  // opened again: its first sheets are not its own
    EXPECT_FALSE(window.Button1->isEnabled());
    TypeSheet({QStringLiteral("b")});
    TypeSheet({QStringLiteral("bc")});
    EXPECT_TRUE(window.Memo1->toPlainText().endsWith(QStringLiteral("1: b c")));
    EXPECT_EQ(Counts(1), (std::vector<std::uint16_t>{1, 2, 1}));
    QTest::keyClick(&window, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_TRUE(window.Memo1->toPlainText().endsWith(QStringLiteral("1: b")));
    window.Button1->click();
    window.Button1Click();  // nothing more of this window's to take back
    EXPECT_EQ(Counts(1), (std::vector<std::uint16_t>{1, 0, 0}));
    EXPECT_EQ(Tally().RespondentCount, 1);
    EXPECT_FALSE(window.Button1->isEnabled());
    EXPECT_EQ(window.Memo1->toPlainText(), QString());
    EXPECT_EQ(window.Label1->text(), QStringLiteral("Arkusz 1, pytanie 1 z 1"));
}

TEST_F(SheetEntryTest, ASheetPastTheLargestCountIsRefusedWithANoticeOfTheSheet) {
    StartTyping(1);
    results::ResultsTally full = Tally();
    full.AnswerTally[1][2] = 65535;
    manager.TakeCounts(full);
    TypeSheet({QStringLiteral("ab")});
    EXPECT_EQ(
        dialogs.notices(),
        QStringList{QStringLiteral("Suma wyników przekroczyłaby 65535, arkusza nie dodano...")});
    EXPECT_EQ(Tally(), full);
    EXPECT_EQ(window.SheetsAdded(), 0);
    // The sheet stays on screen as typed.
    EXPECT_EQ(window.Typing().Sheet().Marked[1], 0b11);
}

TEST_F(SheetEntryTest, QuestionTextsComeFromTheSurveyFileOnlyWhileItMatchesTheResults) {
    StartTyping(2);
    EXPECT_EQ(window.Answer[2]->text(), QStringLiteral("[  ]  c) Nie wiem"));
    window.close();
    // The questionnaire changed since: its file no longer describes the results.
    WriteSurvey("ankieta.ank", {Record({{1, "Inne"}})});
    window.OpenSheetEntry();
    EXPECT_EQ(window.Question[0]->text(), QStringLiteral("Pytanie 1"));
    EXPECT_EQ(Marks(), QStringLiteral("[  ]  a) |[  ]  b) |[  ]  c) "));
}

TEST_F(SheetEntryTest, TheRecoveryFileHoldsTheResultsAfterEverySheetUntilTheyAreSaved) {
    StartTyping(2);
    const QString recoveryPath = collect::RecoveryFileName(data(), Tally().SurveyName);
    TypeSheet({QStringLiteral("a"), QStringLiteral("b")});
    TypeSheet({QStringLiteral("c"), QStringLiteral("")});
    Save(folder.File("wyniki"));
    EXPECT_EQ(dialogs.errors(), QStringList());
    EXPECT_TRUE(QFile::exists(folder.File("wyniki.wyn")));
    EXPECT_FALSE(QFile::exists(recoveryPath));

    TypeSheet({QStringLiteral("a"), QStringLiteral("a")});
    const QByteArray afterThird = testing_support::ReadBytes(recoveryPath);
    Save(folder.File("trzy.wyn"));
    EXPECT_EQ(afterThird, testing_support::ReadBytes(folder.File("trzy.wyn")));
    TypeSheet({QStringLiteral("b"), QStringLiteral("b")});
    ASSERT_TRUE(QFile::exists(recoveryPath));

    // The program cut short: the same questionnaire's results loaded afresh.
    dialogs.answers.push_back(true);
    manager.Wyzeruj1->trigger();
    EXPECT_FALSE(window.isVisible());  // the window goes with the results
    NewResults(survey);
    dialogs.answers.push_back(false);  // not wanted: the file goes
    window.OpenSheetEntry();
    EXPECT_EQ(Tally().RespondentCount, 0);
    EXPECT_FALSE(QFile::exists(recoveryPath));

    TypeSheet({QStringLiteral("a"), QStringLiteral("a")});
    dialogs.answers.push_back(true);
    manager.Wyzeruj1->trigger();
    NewResults(survey);
    dialogs.answers.push_back(true);
    window.OpenSheetEntry();
    EXPECT_EQ(dialogs.questions().last(),
              QStringLiteral("Wprowadzone wcześniej odpowiedzi do tej ankiety nie zostały zapisane "
                             "(ankietowanych: 1). Czy przywrócić je w miejsce wczytanych wyników "
                             "(ankietowanych: 0)?"));
    EXPECT_EQ(Tally().RespondentCount, 1);
    EXPECT_EQ(Counts(2), (std::vector<std::uint16_t>{1, 0, 0}));
    EXPECT_TRUE(manager.Caption().endsWith(QStringLiteral(", Ankietowanych: 1")));
}

TEST(QuestionReading, AQuestionIsFollowedByAFullStopOnlyWhenItEndsWithoutAMark) {
    results::ResultsTally tally;
    tally.QuestionCount = 1;
    tally.AnswerCount[1] = 1;
    const collect::SheetTyping typing(tally);
    const struct {
        const char* line1;
        const char* line2;
        QString spoken;
    } cases[] = {
        {"Czy lubisz?", "", QStringLiteral("Arkusz 1: Czy lubisz? a) Tak: nie zaznaczona")},
        {"Wiek", "", QStringLiteral("Arkusz 1: Wiek. a) Tak: nie zaznaczona")},
        {"Wybierz", "jedno:", QStringLiteral("Arkusz 1: Wybierz jedno: a) Tak: nie zaznaczona")},
    };
    for (const auto& c : cases) {
        const std::vector<editor::QuestionRecord> texts{Record({{1, c.line1}, {2, c.line2}, {3, "Tak"}})};
        EXPECT_EQ(collect::QuestionReading(QStringLiteral("Arkusz 1"), typing, texts), c.spoken) << c.line1;
    }
}
