// A questionnaire written in the editor, made into new results, its paper sheets typed in and
// saved: the results file is the one a user would have written by hand, and every tool reads it.
#include <gtest/gtest.h>

#include <QTest>

#include "app/program.h"
#include "platform/encoding.h"
#include "results/results_test_files.h"
#include "stats/channel_store.h"
#include "support/program_on_folder.h"

TEST(SheetsInProgram, AQuestionnaireFromTheEditorBecomesTypedInResultsThatEveryToolReads) {
    testing_support::ProgramOnFolder run;
    testing_support::TempFolder& folder = run.folder;
    testing_support::ScriptedDialogs& dialogs = run.dialogs;
    app::Program& program = run.program;

    // The editor: two questions, saved as a survey file.
    QTest::mouseClick(program.Form0->Button1, Qt::LeftButton);
    editor::TForm1& editor = *program.Form1;
    editor.Edit(1)->setText(QStringLiteral("Czy lubisz szkołę?"));
    editor.Edit(3)->setText(QStringLiteral("Tak"));
    editor.Edit(5)->setText(QStringLiteral("Nie"));
    dialogs.answers.push_back(true);  // a question more
    editor.Button1->click();
    editor.Edit(1)->setText(QStringLiteral("Ulubiony przedmiot"));
    editor.Edit(3)->setText(QStringLiteral("matematyka"));
    editor.Edit(5)->setText(QStringLiteral("polski"));
    editor.Edit(7)->setText(QStringLiteral("historia"));
    dialogs.fileNames.push_back(folder.File("ankieta"));
    editor.Zapisz2->trigger();
    editor.close();

    // The results manager: new results, three sheets typed in, saved.
    QTest::mouseClick(program.Form0->Button2, Qt::LeftButton);
    results::TForm3& manager = *program.Form3;
    const QString survey = folder.File("ankieta.ank");
    dialogs.fileNames.push_back(survey);
    manager.Nowewynikizankiety1->trigger();
    manager.Wprowadodpowiedzi1->trigger();
    collect::SheetEntryWindow& typing = *program.SheetEntry;
    ASSERT_TRUE(typing.isVisible());
    for (const char* keys : {"a\rab\r", "b\rc\r", "a\r\r"}) {
        for (const char* key = keys; *key; ++key) {
            if (*key == '\r') {
                QTest::keyClick(&typing, Qt::Key_Return);
            } else {
                QTest::keyClick(&typing, *key);
            }
        }
    }
    EXPECT_EQ(typing.SheetsAdded(), 3);
    const QString saved = folder.File("wyniki.wyn");
    dialogs.fileNames.push_back(folder.File("wyniki"));
    manager.Zapisz1->trigger();

    const QByteArray expected = results_testing::Lines({
        "RESULTS", platform::ToCodePage(survey), "3", "2", "2", "2", "1", "3", "1", "1", "1",
        "    Tre\x9C\xE6 ankiety, Ilo\x9C\xE6 pyta\xF1: 2", "", "   1.Czy lubisz szko\xB3\xEA?",
        "        a) Tak", "        b) Nie", "", "   2.Ulubiony przedmiot", "        a) matematyka",
        "        b) polski", "        c) historia"});
    EXPECT_EQ(testing_support::ReadBytes(saved), expected);
    // Saved, the recovery copy is gone: the folder holds what the user made and nothing more.
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden),
              (QStringList{QStringLiteral("ankieta.ank"), QStringLiteral("wyniki.wyn")}));

    // Read back like any other results file: the manager, the charts and the statistics.
    dialogs.answers.push_back(true);
    manager.Wyzeruj1->trigger();
    EXPECT_FALSE(typing.isVisible());
    dialogs.fileNames.push_back(saved);
    manager.Otwrz1->trigger();
    EXPECT_EQ(manager.StringGrid1->Cell(2, 2), QStringLiteral("1"));
    manager.Supkowy1->trigger();
    charts::TForm4& bar = *program.Form4;
    ASSERT_TRUE(QTest::qWaitFor([&] { return bar.isVisible() && !bar.RedrawRequest; }, 5000));
    EXPECT_DOUBLE_EQ(bar.Shares.Percent[1], 2 * 100.0 / 3);
    EXPECT_EQ(stats::LoadChannelFile(program.channels, 1, saved), stats::LoadOutcome::FirstLoad);
    EXPECT_EQ(program.channels.Channels[1].AnswerTally[2][3], 1);
    EXPECT_TRUE(dialogs.errors().isEmpty());
    EXPECT_TRUE(dialogs.notices().isEmpty());
}
