// The editor's question work files, answer counting and caption, and the editor window's
// opening and closing as far as they touch them.
#include <gtest/gtest.h>

#include <QDir>
#include <QFrame>
#include <QTest>
#include <sys/wait.h>
#include <unistd.h>

#include "editor/question_work_files.h"
#include "editor/survey_editor_window.h"
#include "platform/io_error.h"
#include "support/recording_printer.h"
#include "support/scripted_dialogs.h"
#include "support/temp_folder.h"
#include "survey_editor_fixture.h"

using editor::CountAnswers;
using editor::QuestionRecord;
using editor_testing::RecordWith;
using editor::QuestionWorkFiles;
using testing_support::ReadBytes;
using testing_support::TempFolder;
using testing_support::WriteBytes;

namespace {

QuestionRecord Numbered(int question) {
    QuestionRecord record;
    record[0] = "Pytanie " + QByteArray::number(question);
    return record;
}

class NoLauncher : public platform::LauncherControl {
public:
    void ShowLauncher() override { ++shows; }
    void HideLauncher() override { ++hides; }
    int shows = 0;
    int hides = 0;
};

}  // namespace

TEST(CountAnswers, IsTheLastAnswerFromBToIWithText) {
    EXPECT_EQ(CountAnswers(QuestionRecord{}), 1);
    EXPECT_EQ(CountAnswers(RecordWith({{20, "x"}})), 9);
    EXPECT_EQ(CountAnswers(RecordWith({{6, "x"}})), 2);
    EXPECT_EQ(CountAnswers(RecordWith({{3, "A"}, {9, "D"}})), 4);
    EXPECT_EQ(CountAnswers(RecordWith({{3, "A"}, {4, "A2"}})), 1);
    EXPECT_EQ(CountAnswers(RecordWith({{1, "Q"}, {2, "Q"}})), 1);
    EXPECT_EQ(CountAnswers(RecordWith({{13, " "}})), 6);  // blanks are not empty
}

TEST(EditorCaption, JoinsTheCountersWithoutBlanksAroundZ) {
    EXPECT_EQ(editor::EditorCaption(QStringLiteral("Edytor Ankiet"), 3, 7, 4),
              QStringLiteral("Edytor Ankiet,  Pytanie 3z7, Odpowiedzi: 4"));
    // Only the first 13 characters of the caption at that moment are kept.
    EXPECT_EQ(editor::EditorCaption(QStringLiteral("Edytor Ankiet,  Pytanie 3z7, Odpowiedzi: 4"), 12, 250, 9),
              QStringLiteral("Edytor Ankiet,  Pytanie 12z250, Odpowiedzi: 9"));
}

TEST(QuestionWorkFiles, NamesHaveNoLeadingZerosAndNoExtension) {
    QuestionWorkFiles files(QStringLiteral("/some/folder"));
    EXPECT_EQ(files.WorkFileName(12), QStringLiteral("/some/folder/wyn12"));
    EXPECT_EQ(files.WorkFileName(1), QStringLiteral("/some/folder/wyn1"));
    EXPECT_EQ(files.WorkFileName(0), QStringLiteral("/some/folder/wyn0"));
}

TEST(QuestionWorkFiles, HoldTwentyLinesEachEndedByCarriageReturnAndLineFeed) {
    TempFolder folder;
    QuestionWorkFiles files(folder.path());
    files.Write(3, RecordWith({{1, "Q\xB9"}, {3, "T"}, {20, "last"}}));
    QByteArray expected = "Q\xB9\r\n\r\nT\r\n";
    for (int line = 4; line <= 19; ++line) expected += "\r\n";
    expected += "last\r\n";
    EXPECT_EQ(ReadBytes(files.WorkFileName(3)), expected);
    EXPECT_EQ(files.Read(3), RecordWith({{1, "Q\xB9"}, {3, "T"}, {20, "last"}}));
}

TEST(QuestionWorkFiles, AShortFileReadsWithTheMissingLinesEmpty) {
    TempFolder folder;
    QuestionWorkFiles files(folder.path());
    WriteBytes(files.WorkFileName(1), "one\r\ntwo\r\nthree\r\n");
    EXPECT_EQ(files.Read(1), RecordWith({{1, "one"}, {2, "two"}, {3, "three"}}));
}

TEST(QuestionWorkFiles, AMissingFileIsAnError) {
    TempFolder folder;
    QuestionWorkFiles files(folder.path());
    try {
        files.Read(4);
        FAIL() << "no error";
    } catch (const platform::IoError& error) {
        EXPECT_STREQ(error.what(), "File not found");
    }
}

TEST(QuestionWorkFiles, ShiftingUpReplacesALeftoverAboveTheLastQuestion) {
    TempFolder folder;
    QuestionWorkFiles files(folder.path());
    for (int n = 1; n <= 3; ++n) files.Write(n, Numbered(n));
    files.Write(4, RecordWith({{1, "leftover"}}));
    files.ShiftUp(2, 3);
    EXPECT_FALSE(QFile::exists(files.WorkFileName(2)));
    EXPECT_EQ(files.Read(1), Numbered(1));
    EXPECT_EQ(files.Read(3), Numbered(2));
    EXPECT_EQ(files.Read(4), Numbered(3));
}

TEST(QuestionWorkFiles, ShiftingDownDropsTheQuestionAndClosesTheGap) {
    TempFolder folder;
    QuestionWorkFiles files(folder.path());
    for (int n = 1; n <= 4; ++n) files.Write(n, Numbered(n));
    files.ShiftDown(2, 4);
    EXPECT_EQ(files.Read(1), Numbered(1));
    EXPECT_EQ(files.Read(2), Numbered(3));
    EXPECT_EQ(files.Read(3), Numbered(4));
    EXPECT_FALSE(QFile::exists(files.WorkFileName(4)));
}

TEST(QuestionWorkFiles, DeletingAllRemovesNumbersZeroTo255AndCutShortWritesOnly) {
    TempFolder folder;
    QuestionWorkFiles files(folder.path());
    for (int n : {0, 1, 7, 250, 255}) files.Write(n, Numbered(n));
    WriteBytes(files.WorkFileName(256), "not ours");
    WriteBytes(folder.File("survey.ank"), "TARVO\r\n");
    WriteBytes(folder.File(".narzedzia-scratch-a1B2c3"), "cut short");  // a killed program's
    files.DeleteAll();
    QStringList left = QDir(folder.path()).entryList(QDir::Files | QDir::Hidden);
    left.sort();
    EXPECT_EQ(left, (QStringList{QStringLiteral("survey.ank"), QStringLiteral("wyn256")}));
}

TEST(QuestionWorkFiles, OneEditorAtATimeClaimsTheFolderAndACrashedOnesClaimIsTakenOver) {
    TempFolder folder;
    QuestionWorkFiles first(folder.path());
    QuestionWorkFiles second(folder.path());
    EXPECT_EQ(first.Claim(), QString());
    EXPECT_EQ(second.Claim(), QStringLiteral("Edytor Ankiet jest już otwarty w innym oknie programu. "
                                             "Zamknij go tam, aby otworzyć go tutaj."));
    first.Release();
    EXPECT_EQ(second.Claim(), QString());
    second.Release();

    // A copy that dies holding the folder does not keep it.
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        QuestionWorkFiles crashed(folder.path());
        ::_exit(crashed.Claim().isEmpty() ? 0 : 1);  // ends without releasing
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(first.Claim(), QString());
}

TEST(QuestionWorkFiles, ALinkOfAWorkFilesNameIsNeitherReadNorLeftBehind) {
    TempFolder folder;
    QuestionWorkFiles files(folder.path());
    WriteBytes(folder.File("secret"), "not a question\r\n");
    ASSERT_TRUE(QFile::link(folder.File("secret"), files.WorkFileName(2)));
    ASSERT_TRUE(QFile::link(folder.File("nowhere"), files.WorkFileName(3)));
    EXPECT_THROW(files.Read(2), platform::IoError);
    files.DeleteAll();
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::System), QStringList{QStringLiteral("secret")});
}

class EditorWindowTest : public ::testing::Test {
protected:
    EditorWindowTest() : state(folder.path()), window(dialogs, printer, state, launcher) {}
    ~EditorWindowTest() override { window.hide(); }

    TempFolder folder;
    testing_support::ScriptedDialogs dialogs;
    testing_support::RecordingPrinter printer;
    NoLauncher launcher;
    editor::EditorState state;
    editor::TForm1 window;
};

TEST_F(EditorWindowTest, OpeningShowsAnEmptyQuestionOneOfOne) {
    EXPECT_EQ(state.CurrentQuestion, 0);
    EXPECT_EQ(state.QuestionTotal, 0);
    window.ShowForm();
    EXPECT_EQ(launcher.hides, 1);
    EXPECT_EQ(window.Caption(), QStringLiteral("Edytor Ankiet,  Pytanie 1z1, Odpowiedzi: 1"));
    EXPECT_EQ(state.CurrentQuestion, 1);
    EXPECT_EQ(state.QuestionTotal, 1);
    for (int n = 1; n <= 20; ++n) EXPECT_TRUE(window.Edit(n)->text().isEmpty()) << n;
    EXPECT_FALSE(window.Button2->isEnabled());
    EXPECT_EQ(window.ComboBox1->Count(), 1);
    EXPECT_EQ(window.ComboBox1->Text(), QStringLiteral("1"));
    EXPECT_TRUE(QDir(folder.path()).entryList(QDir::Files).isEmpty());  // no work file touched
}

TEST_F(EditorWindowTest, TheAnswerCountFollowsTypingFromAnswerBOn) {
    window.ShowForm();
    QTest::keyClicks(window.Edit(3), QStringLiteral("A"));
    EXPECT_EQ(window.Caption(), QStringLiteral("Edytor Ankiet,  Pytanie 1z1, Odpowiedzi: 1"));
    QTest::keyClicks(window.Edit(9), QStringLiteral("D"));
    EXPECT_EQ(window.Caption(), QStringLiteral("Edytor Ankiet,  Pytanie 1z1, Odpowiedzi: 4"));
    EXPECT_EQ(state.CurrentAnswerCount, 4);
}

TEST_F(EditorWindowTest, SavingAndLoadingMoveTheBoxesThroughTheWorkFile) {
    window.ShowForm();
    window.Edit(1)->setText(QStringLiteral("Jak się masz?"));
    window.Edit(20)->setText(QStringLiteral("ostatnia"));
    window.SaveCurrentQuestion();
    EXPECT_EQ(state.workFiles.Read(1)[0], QByteArray("Jak si\xEA masz?"));

    for (int n = 1; n <= 20; ++n) window.Edit(n)->clear();
    window.LoadQuestion(1);
    EXPECT_EQ(window.Edit(1)->text(), QStringLiteral("Jak się masz?"));
    EXPECT_EQ(window.Edit(20)->text(), QStringLiteral("ostatnia"));
    EXPECT_EQ(state.LineBuffer[19], QByteArray("ostatnia"));
    // Loading ran the change handlers: the caption counts nine answers.
    EXPECT_TRUE(window.Caption().endsWith(QStringLiteral("Odpowiedzi: 9")));
}

TEST_F(EditorWindowTest, ClosingDeletesTheWorkFilesAndBringsTheLauncherBack) {
    window.ShowForm();
    window.SaveCurrentQuestion();
    state.workFiles.Write(200, Numbered(200));
    window.close();
    EXPECT_EQ(launcher.shows, 1);
    EXPECT_TRUE(QDir(folder.path()).entryList(QDir::Files).isEmpty());
    EXPECT_EQ(window.ComboBox1->Count(), 0);
    EXPECT_EQ(state.QuestionTotal, 1);  // the counters keep their values until the next opening
}

TEST_F(EditorWindowTest, ControlsSitWhereTheLayoutPutsThem) {
    EXPECT_EQ(window.Edit(1)->geometry(), QRect(64, 8, 369, 17));
    EXPECT_EQ(window.Edit(2)->geometry(), QRect(64, 24, 369, 17));
    EXPECT_EQ(window.Edit(3)->geometry(), QRect(64, 46, 369, 17));
    EXPECT_EQ(window.Edit(4)->geometry(), QRect(64, 62, 369, 17));
    EXPECT_EQ(window.Edit(19)->geometry(), QRect(64, 366, 369, 17));
    EXPECT_EQ(window.Edit(20)->geometry(), QRect(64, 382, 369, 17));
    EXPECT_EQ(window.Edit(7)->maxLength(), 60);
    EXPECT_FALSE(window.Edit(7)->hasFrame());
    EXPECT_EQ(window.Button1->geometry(), QRect(390, 405, 101, 21));
    EXPECT_EQ(window.ComboBox1->geometry(), QRect(445, 10, 46, 22));
    EXPECT_EQ(window.AnswerLabels[8]->pos(), QPoint(8, 363));
    EXPECT_EQ(window.AnswerLabels[8]->text(), QStringLiteral("Odp. I)"));
    EXPECT_EQ(window.Shape1->geometry(), QRect(0, 0, 496, 1));
    EXPECT_EQ(window.Shape1->palette().brush(QPalette::Window).style(), Qt::CrossPattern);
    EXPECT_TRUE(window.Shape1->autoFillBackground());
}
