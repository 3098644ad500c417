// The survey editor's moving through the questions, inserting and deleting them, and the jump by
// the combo box: counters, combo box list, caption, enabled states and work files.
#include <QApplication>
#include <QDir>
#include <QMenu>
#include <QTest>

#include "survey_editor_fixture.h"

using editor_testing::SurveyEditorTest;

namespace {

QString FirstLine(const editor::TForm1& window) { return window.Edit(1)->text(); }

}  // namespace

TEST_F(SurveyEditorTest, NextAtTheLastQuestionAsksBeforeAdding) {
    window.Edit(1)->setText(QStringLiteral("Pierwsze"));
    bool disabledWhileAsking = false;
    dialogs.whileQuestionOpen = [&](const QString&) { disabledWhileAsking = NavigationDisabled(); };

    dialogs.answers = {false};
    window.Button1->click();
    EXPECT_EQ(dialogs.questions(), QStringList{QStringLiteral("Czy dodać kolejne pytanie?")});
    EXPECT_TRUE(disabledWhileAsking);
    EXPECT_EQ(Counters(), QStringLiteral("1z1"));
    EXPECT_TRUE(WorkFolder().isEmpty());  // No saves nothing
    EXPECT_FALSE(window.Button2->isEnabled());
    EXPECT_TRUE(NavigationEnabled());

    dialogs.answers = {true};
    window.Button1->click();
    EXPECT_EQ(state.workFiles.Read(1)[0], QByteArray("Pierwsze"));
    EXPECT_EQ(Counters(), QStringLiteral("2z2"));
    EXPECT_TRUE(FirstLine(window).isEmpty());
    EXPECT_EQ(ComboItems(), (QStringList{QStringLiteral("1"), QStringLiteral("2")}));
    EXPECT_EQ(window.ComboBox1->Text(), QStringLiteral("2"));
    EXPECT_TRUE(window.Button2->isEnabled());
    EXPECT_TRUE(NavigationEnabled());
    EXPECT_EQ(window.Caption(), QStringLiteral("Edytor Ankiet,  Pytanie 2z2, Odpowiedzi: 1"));
}

TEST_F(SurveyEditorTest, NextAndPreviousCarryTheTextsBothWays) {
    AddQuestionsUpTo(3);
    window.Edit(9)->setText(QStringLiteral("D trzeciego"));
    window.Button2->click();
    window.Button2->click();
    EXPECT_EQ(Counters(), QStringLiteral("1z3"));
    EXPECT_EQ(FirstLine(window), QStringLiteral("Pytanie 1"));
    EXPECT_FALSE(window.Button2->isEnabled());
    EXPECT_EQ(window.ComboBox1->Text(), QStringLiteral("1"));

    window.Button1->click();
    window.Button1->click();
    EXPECT_EQ(dialogs.questions().size(), 2);  // moving on asks nothing
    EXPECT_EQ(FirstLine(window), QStringLiteral("Pytanie 3"));
    EXPECT_EQ(window.Edit(9)->text(), QStringLiteral("D trzeciego"));
    EXPECT_EQ(window.Caption(), QStringLiteral("Edytor Ankiet,  Pytanie 3z3, Odpowiedzi: 4"));
    EXPECT_TRUE(window.Button2->isEnabled());
}

TEST_F(SurveyEditorTest, NextStopsAtTwoHundredFifty) {
    AddQuestionsUpTo(250);
    EXPECT_TRUE(dialogs.notices().isEmpty());  // adding the 250th gives no notice
    JumpTo(249);
    window.Button1->click();
    EXPECT_EQ(Counters(), QStringLiteral("250z250"));
    EXPECT_EQ(FirstLine(window), QStringLiteral("Pytanie 250"));
    EXPECT_EQ(dialogs.notices(), QStringList{QStringLiteral("Nie można więcej niż 250 pytań")});

    const auto shownBefore = dialogs.shown.size();
    window.Button1->click();
    EXPECT_EQ(dialogs.shown.size(), shownBefore);
    EXPECT_EQ(Counters(), QStringLiteral("250z250"));
}

TEST_F(SurveyEditorTest, InsertPutsABlankQuestionBeforeTheOneOnScreen) {
    window.Edit(1)->setText(QStringLiteral("Stare"));
    window.Button3->click();
    EXPECT_EQ(Counters(), QStringLiteral("1z2"));
    EXPECT_TRUE(FirstLine(window).isEmpty());
    EXPECT_EQ(ComboItems(), (QStringList{QStringLiteral("1"), QStringLiteral("2")}));
    EXPECT_TRUE(dialogs.shown.empty());  // no confirmation
    window.Button1->click();
    EXPECT_EQ(FirstLine(window), QStringLiteral("Stare"));
    EXPECT_EQ(Counters(), QStringLiteral("2z2"));
}

TEST_F(SurveyEditorTest, InsertGoesBeyondTwoHundredFiftyButRefusesAtTwoHundredFiftyFive) {
    AddQuestionsUpTo(250);
    JumpTo(10);
    for (int i = 0; i < 5; ++i) window.Button3->click();
    EXPECT_EQ(Counters(), QStringLiteral("10z255"));
    window.Edit(1)->setText(QStringLiteral("niezapisane"));
    const QStringList files = WorkFolder();

    window.Button3->click();
    EXPECT_EQ(dialogs.notices(), QStringList{QStringLiteral("Nie można wstawić więcej niż 255 pytań")});
    EXPECT_EQ(Counters(), QStringLiteral("10z255"));
    EXPECT_EQ(window.ComboBox1->Count(), 255);
    EXPECT_EQ(FirstLine(window), QStringLiteral("niezapisane"));
    EXPECT_EQ(WorkFolder(), files);

    // The questions still run in order up to the last work-file number.
    JumpTo(255);
    EXPECT_EQ(FirstLine(window), QStringLiteral("Pytanie 250"));
}

TEST_F(SurveyEditorTest, DeletingAsksWithTheControlsOffAndNoChangesNothing) {
    AddQuestionsUpTo(4);
    JumpTo(2);
    window.Edit(5)->setText(QStringLiteral("B"));
    const QStringList files = WorkFolder();
    const QString caption = window.Caption();
    bool disabledWhileAsking = false;
    dialogs.whileQuestionOpen = [&](const QString&) { disabledWhileAsking = NavigationDisabled(); };
    dialogs.answers = {false};
    window.Button4->click();
    EXPECT_TRUE(disabledWhileAsking);
    EXPECT_EQ(dialogs.questions().last(), QStringLiteral("Czy na pewno usunąć to pytanie?"));
    EXPECT_EQ(WorkFolder(), files);
    EXPECT_EQ(Counters(), QStringLiteral("2z4"));
    EXPECT_EQ(window.Caption(), caption);
    EXPECT_EQ(window.Edit(5)->text(), QStringLiteral("B"));
    EXPECT_EQ(ComboItems().size(), 4);
    EXPECT_TRUE(NavigationEnabled() && window.Button2->isEnabled());

    // Yes in the middle: the question that followed comes on screen under the same number.
    dialogs.answers = {true};
    window.Button4->click();
    EXPECT_EQ(Counters(), QStringLiteral("2z3"));
    EXPECT_EQ(FirstLine(window), QStringLiteral("Pytanie 3"));
    EXPECT_EQ(ComboItems(), (QStringList{QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3")}));
    EXPECT_EQ(window.ComboBox1->Text(), QStringLiteral("2"));
    EXPECT_TRUE(NavigationEnabled() && window.Button2->isEnabled());
    JumpTo(3);
    EXPECT_EQ(FirstLine(window), QStringLiteral("Pytanie 4"));
}

TEST_F(SurveyEditorTest, DeletingTheLastQuestionShowsTheOneBeforeButTheOnlyOneStays) {
    AddQuestionsUpTo(2);
    dialogs.answers = {true};
    window.Button4->click();
    EXPECT_EQ(Counters(), QStringLiteral("1z1"));
    EXPECT_EQ(FirstLine(window), QStringLiteral("Pytanie 1"));
    EXPECT_EQ(ComboItems(), QStringList{QStringLiteral("1")});
    EXPECT_EQ(window.ComboBox1->Text(), QStringLiteral("1"));
    EXPECT_FALSE(window.Button2->isEnabled());
    EXPECT_EQ(window.Caption(), QStringLiteral("Edytor Ankiet,  Pytanie 1z1, Odpowiedzi: 1"));

    window.Button4->click();
    EXPECT_EQ(dialogs.notices(), QStringList{QStringLiteral("Nie możesz usunąć ostatniego pytania")});
    EXPECT_EQ(dialogs.questions().size(), 2);  // the one to add, the one to delete
    EXPECT_EQ(Counters(), QStringLiteral("1z1"));
    EXPECT_EQ(FirstLine(window), QStringLiteral("Pytanie 1"));
}

TEST_F(SurveyEditorTest, TheComboBoxJumpsToANumberAndIgnoresOthers) {
    AddQuestionsUpTo(3);
    window.ComboBox1->lineEdit()->selectAll();
    QTest::keyClicks(window.ComboBox1->lineEdit(), QStringLiteral("1"));
    EXPECT_EQ(Counters(), QStringLiteral("1z3"));
    EXPECT_EQ(FirstLine(window), QStringLiteral("Pytanie 1"));
    EXPECT_FALSE(window.Button2->isEnabled());

    window.Edit(1)->setText(QStringLiteral("niezapisane"));
    const QStringList files = WorkFolder();
    window.ComboBox1->lineEdit()->selectAll();
    QTest::keyClicks(window.ComboBox1->lineEdit(), QStringLiteral("7"));
    EXPECT_EQ(window.ComboBox1->Text(), QStringLiteral("1"));
    EXPECT_EQ(Counters(), QStringLiteral("1z3"));
    EXPECT_EQ(FirstLine(window), QStringLiteral("niezapisane"));
    EXPECT_EQ(WorkFolder(), files);

    JumpTo(3);
    EXPECT_EQ(FirstLine(window), QStringLiteral("Pytanie 3"));
    EXPECT_TRUE(window.Button2->isEnabled());
}

TEST_F(SurveyEditorTest, AFailingWorkFileLeavesTheControlsEnabled) {
    // A folder in place of work file 1 cannot be written, also by a user who ignores permissions.
    ASSERT_TRUE(QDir(work.path()).mkdir(QStringLiteral("wyn1")));
    dialogs.answers = {true};
    window.Button1->click();
    EXPECT_EQ(dialogs.errors(), QStringList{QStringLiteral("File access denied.")});
    EXPECT_EQ(Counters(), QStringLiteral("1z1"));
    EXPECT_TRUE(NavigationEnabled());
    EXPECT_FALSE(window.Button2->isEnabled());
}

TEST_F(SurveyEditorTest, CtrlAOpensTheMenuAlsoFromAnEditBoxAndTheNumberBox) {
    QApplication::setActiveWindow(&window);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    window.ComboBox1->SetText(QStringLiteral("1"));
    for (QLineEdit* box : {static_cast<QLineEdit*>(window.Edit(1)), window.ComboBox1->lineEdit()}) {
        box->setText(QStringLiteral("Pytanie"));
        box->setFocus();
        QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
        EXPECT_TRUE(QTest::qWaitFor([&] { return window.Ankiety1->isVisible(); }, 2000));
        EXPECT_FALSE(box->hasSelectedText());
        window.Ankiety1->close();
    }
}
