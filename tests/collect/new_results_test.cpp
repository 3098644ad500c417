// New results from a survey file: its questions and answer counts with no respondents, the
// questionnaire's printed lines as their text, loaded as "Otwórz" loads a results file.
#include <QAction>
#include <QMenu>

#include "collect_fixture.h"
#include "platform/encoding.h"
#include "support/menu_text.h"

using collect_testing::CollectTest;
using collect_testing::Record;

TEST(NewResults, AnswerCountsAsTheEditorCountsThemAndThePrintedLinesAsText) {
    const collect::NewResults made = collect::ResultsOfSurvey(
        "C:\\ankiety\\a.ank",
        {Record({{1, "Czy lubisz"}, {2, "szko\xB3\xEA?"}, {3, "Tak"}, {7, "Nie wiem"}, {8, "jeszcze"}}),
         Record({{2, "Tylko drugi"}})});
    EXPECT_EQ(made.tally.SurveyName, QByteArray("C:\\ankiety\\a.ank"));
    EXPECT_EQ(made.tally.RespondentCount, 0);
    EXPECT_EQ(made.tally.QuestionCount, 2);
    EXPECT_EQ(made.tally.AnswerCount[1], 3);  // b empty, but c filled
    EXPECT_EQ(made.tally.AnswerCount[2], 1);
    EXPECT_EQ(made.tally.AnswerTally, results::ResultsTally().AnswerTally);
    EXPECT_EQ(made.surveyText,
              QList<QByteArray>({"    Tre\x9C\xE6 ankiety, Ilo\x9C\xE6 pyta\xF1: 2", "",
                                 "   1.Czy lubisz", "      szko\xB3\xEA?", "        a) Tak",
                                 "        b) ", "        c) Nie wiem", "           jeszcze", "",
                                 "   2.Tylko drugi", "        a) "}));
}

TEST_F(CollectTest, NewResultsAreLoadedAsAResultsFileIsOpened) {
    // The two items follow the file items of "Plik", behind a separator; they go with "Otwórz"
    // and "Dodaj".
    const QList<QAction*> items = manager.Plik->actions();
    const qsizetype at = items.indexOf(manager.Nowewynikizankiety1);
    ASSERT_GE(at, 1);
    EXPECT_TRUE(items[at - 1]->isSeparator());
    EXPECT_EQ(testing_support::ItemText(manager.Nowewynikizankiety1),
              QStringLiteral("Nowe wyniki z ankiety…"));
    EXPECT_EQ(items.value(at + 1), manager.Wprowadodpowiedzi1);
    EXPECT_EQ(testing_support::ItemText(manager.Wprowadodpowiedzi1),
              QStringLiteral("Wprowadź odpowiedzi…"));
    EXPECT_TRUE(manager.Nowewynikizankiety1->isEnabled());
    EXPECT_FALSE(manager.Wprowadodpowiedzi1->isEnabled());

    const QString path = WriteSurvey("szkoła.ank", {Record({{1, "P1"}, {5, "b"}}), Record({{1, "P2"}})});
    NewResults(path);
    EXPECT_EQ(dialogs.Last(testing_support::ScriptedDialogs::Kind::OpenFile)->options.filter,
              QStringLiteral("Ankiety (*.ank)|*.ank"));
    EXPECT_TRUE(manager.ResultsLoaded());
    EXPECT_EQ(manager.Caption(), QStringLiteral("Menedżer wyników :   ") + path +
                                     QStringLiteral(", Ankietowanych: 0"));
    EXPECT_EQ(Tally().SurveyName, platform::ToCodePage(path));
    EXPECT_EQ(manager.StringGrid1->Cell(2, 1), QStringLiteral("0"));
    EXPECT_EQ(manager.StringGrid1->Cell(2, 2), QString());
    EXPECT_TRUE(manager.Treankiety1->isChecked());
    EXPECT_FALSE(manager.Nowewynikizankiety1->isEnabled());
    EXPECT_TRUE(manager.Wprowadodpowiedzi1->isEnabled());
    EXPECT_TRUE(dialogs.notices().isEmpty());
    EXPECT_TRUE(dialogs.errors().isEmpty());
}

TEST_F(CollectTest, OnlyASurveyFileOfAtMost250QuestionsMakesResults) {
    const struct {
        QString path;
        const char* notice;
    } cases[] = {
        {QString(), nullptr},                       // cancelled
        {folder.File("brak.ank"), nullptr},         // no such file
        {folder.File("wyniki.wyn"), "To nie jest plik ankiety..."},
        {WriteSurvey("duza.ank", std::vector<editor::QuestionRecord>(251)),
         "Ankieta ma więcej niż 250 pytań; wyniki mogą mieć ich najwyżej 250..."},
    };
    testing_support::WriteBytes(folder.File("wyniki.wyn"), "RESULTS\r\n");
    for (const auto& c : cases) {
        dialogs.shown.clear();
        NewResults(c.path);
        EXPECT_FALSE(manager.ResultsLoaded()) << c.path.toStdString();
        EXPECT_EQ(dialogs.notices(),
                  c.notice ? QStringList{QString::fromUtf8(c.notice)} : QStringList());
    }
}
